#include "ImportQueue.h"

namespace katarix::jet::mdb {

void ImportQueue::push(Step &&step)
{
    std::unique_lock lock(m_mutex);
    const size_t bytes = step.rows.bytes();
    // One batch always fits, however large.
    m_changed.wait(lock, [&] { return m_stopped || m_bytes == 0 || m_bytes + bytes <= m_capacity; });
    if (m_stopped)
        throw Stopped();
    m_bytes += bytes;
    m_steps.push_back(std::move(step));
    m_changed.notify_all();
}

void ImportQueue::start(qint64 totalRows)
{
    push({Step::Start, totalRows, {}, {}, {}, {}});
}

void ImportQueue::beginTable(const QString &name, const std::vector<ImportColumn> &columns)
{
    push({Step::Begin, 0, name, columns, {}, {}});
}

void ImportQueue::appendRows(RowBatch &&rows)
{
    push({Step::Rows, 0, {}, {}, std::move(rows), {}});
}

void ImportQueue::endTable()
{
    push({Step::End, 0, {}, {}, {}, {}});
}

void ImportQueue::finish(std::exception_ptr failure)
{
    std::lock_guard lock(m_mutex);
    m_steps.push_back({Step::Finished, 0, {}, {}, {}, failure});
    m_changed.notify_all();
}

void ImportQueue::stop()
{
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_steps.clear();
    m_bytes = 0;
    m_changed.notify_all();
}

void ImportQueue::importInto(RegisterImporter &importer, const std::function<void(qint64, qint64)> &progress)
{
    qint64 total = 0;
    qint64 done = 0;
    for (;;) {
        Step step;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return !m_steps.empty(); });
            step = std::move(m_steps.front());
            m_steps.pop_front();
            m_bytes -= step.rows.bytes();
            m_changed.notify_all();
        }
        switch (step.kind) {
        case Step::Start:
            total = step.total;
            progress(0, total);
            break;
        case Step::Begin:
            importer.beginTable(step.name, step.columns);
            break;
        case Step::Rows:
            importer.appendRows(step.rows);
            done += step.rows.rows();
            progress(done, total);
            break;
        case Step::End:
            importer.endTable();
            progress(done, total);
            break;
        case Step::Finished:
            if (step.failure)
                std::rethrow_exception(step.failure);
            return;
        }
    }
}

} // namespace katarix::jet::mdb
