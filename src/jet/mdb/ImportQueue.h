#pragma once

#include "MdbReader.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

namespace katarix::jet::mdb {

// Hands the tables a reader decodes on one thread to the importer on another. The reader's
// batches wait in a queue of bounded size, so the two run side by side in bounded memory; the
// order of tables and rows is the reader's.
class ImportQueue : public TableSink {
public:
    explicit ImportQueue(size_t capacityBytes) : m_capacity(capacityBytes) {}

    // The reading side. Each call waits while the queue is full; once the importing side has
    // stopped it throws Stopped.
    struct Stopped {};
    void start(qint64 totalRows) override;
    void beginTable(const QString &name, const std::vector<ImportColumn> &columns) override;
    void appendRows(RowBatch &&rows) override;
    void endTable() override;
    // The reader ended: with every table read, or with the failure it threw.
    void finish(std::exception_ptr failure = nullptr);

    // The importing side: applies the reader's tables to the importer until the reader has
    // finished and rethrows its failure. progress(rowsImported, rowsTotal) after each batch.
    void importInto(RegisterImporter &importer, const std::function<void(qint64, qint64)> &progress);
    // The importing side gave up: the reader stops at its next call.
    void stop();

private:
    struct Step {
        enum Kind { Start, Begin, Rows, End, Finished } kind;
        qint64 total = 0;
        QString name;
        std::vector<ImportColumn> columns;
        RowBatch rows;
        std::exception_ptr failure;
    };
    void push(Step &&step);

    const size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Step> m_steps;
    size_t m_bytes = 0;
    bool m_stopped = false;
};

} // namespace katarix::jet::mdb
