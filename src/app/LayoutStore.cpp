#include "app/LayoutStore.h"

#include "app/IniFile.h"
#include "app/Interaction.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QWindow>

#include <algorithm>
#include <exception>
#include <optional>

namespace katarix::app {

const QString LayoutStore::kCaptionPosSize = QStringLiteral("Błąd podczas zapisywania ustawień kontrolki do pliku ini");
const QString LayoutStore::kCaptionGrid = QStringLiteral("Błąd podczas odczytywania ustawień DBGrid'a z pliku ini");

namespace {

std::optional<int> readInt(const IniFile &ini, const QString &section, const QString &key)
{
    return parseInteger(ini.ReadString(section, key, QString()));
}

bool keepsPosition(LayoutStore::Placement placement)
{
    return placement == LayoutStore::Placement::Pos || placement == LayoutStore::Placement::PosSize;
}

bool keepsSize(LayoutStore::Placement placement)
{
    return placement == LayoutStore::Placement::Size || placement == LayoutStore::Placement::PosSize;
}

QString messageOf(const std::exception &error)
{
    if (auto *iniError = dynamic_cast<const IniError *>(&error))
        return iniError->message();
    return QString::fromUtf8(error.what());
}

} // namespace

namespace {

// Until a top-level window is mapped its frame is unknown, and Qt places the client area at the
// position of a window whose native window exists by then: the window manager then puts the frame
// above and left of it. The native window is told that the position is the frame's just before it
// is mapped (its own show event, after the widget's showing has set its geometry).
class FramePositionAtShow : public QObject {
public:
    static constexpr const char *kName = "FramePositionAtShow";
    explicit FramePositionAtShow(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(QLatin1String(kName));
        window->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (watched == m_window) {
            m_window->removeEventFilter(this);
            if (QWindow *native = m_window->windowHandle()) {
                native->installEventFilter(this);
                return false;
            }
        } else if (auto *native = qobject_cast<QWindow *>(watched)) {
            native->removeEventFilter(this);
            if (!m_window->testAttribute(Qt::WA_Mapped))
                native->setFramePosition(m_window->pos());
        } else {
            return false;
        }
        deleteLater();
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

void keepFramePosition(QWidget *widget)
{
    if (!widget->isWindow() || widget->testAttribute(Qt::WA_Mapped))
        return;
    QWindow *native = widget->windowHandle();
    if (native && widget->isVisible()) // placed while being shown (in showEvent)
        native->setFramePosition(widget->pos());
    else if (!widget->findChild<QObject *>(QLatin1String(FramePositionAtShow::kName), Qt::FindDirectChildrenOnly))
        new FramePositionAtShow(widget);
}

// Follows the form into an MDI sub-window and applies the placement again when the sub-window
// is first shown (after the MDI area has placed it), if it had been applied to the form itself.
class LayoutWatcher : public QObject {
public:
    explicit LayoutWatcher(LayoutStore &owner) : m_owner(owner) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ParentChange && watched == m_owner.m_form) {
            auto *sub = qobject_cast<QMdiSubWindow *>(m_owner.m_form->parentWidget());
            if (sub && sub != m_owner.m_subWindow) {
                m_owner.m_subWindow = sub;
                m_pending = m_owner.m_reapplyInSubWindow;
                sub->installEventFilter(this);
            }
        } else if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && watched == m_owner.m_form) {
            m_owner.noteNormalPlace();
        } else if (event->type() == QEvent::Show && m_pending && watched == m_owner.m_subWindow) {
            m_pending = false;
            m_owner.m_reapplyInSubWindow = false;
            if (!m_owner.m_iniFileName.isEmpty())
                m_owner.restorePlacement(IniFile(m_owner.m_iniFileName), false);
        }
        return false;
    }

private:
    LayoutStore &m_owner;
    bool m_pending = false;
};

LayoutStore::LayoutStore(QWidget *form, const QString &section, Placement placement)
    : m_section(section), m_placement(placement)
{
    setForm(form);
}

LayoutStore::~LayoutStore()
{
    if (m_restored && !m_written)
        saveOrReport();
}

void LayoutStore::setForm(QWidget *form)
{
    if (m_form && m_watcher)
        m_form->removeEventFilter(m_watcher.get());
    m_watcher.reset();
    m_form = form;
    m_subWindow = nullptr;
    m_restored = false;
    m_written = true;
    m_reapplyInSubWindow = false;
    m_normalPlace.reset();
    if (form) {
        m_watcher = std::make_unique<LayoutWatcher>(*this);
        form->installEventFilter(m_watcher.get());
    }
}

void LayoutStore::noteNormalPlace()
{
    QWidget *w = m_form;
    if (w && w->isWindow() && w->testAttribute(Qt::WA_Mapped)
        && !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        m_normalPlace = QRect(w->pos(), w->size());
}

QWidget *LayoutStore::window() const
{
    if (!m_form)
        return nullptr;
    // While a sub-window is being destroyed its type is no longer known, so the one seen before
    // is recognised by identity.
    if (m_subWindow && m_form->parentWidget() == m_subWindow)
        return m_subWindow;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(m_form->parentWidget()))
        return m_subWindow = sub;
    return m_form;
}

void LayoutStore::report(const QString &message, const QString &caption) const
{
    interaction().messageBox(m_form, message, caption, mb::Ok | mb::IconError);
}

QString LayoutStore::saveErrorCaption() const
{
    return keepsPosition(m_placement) || keepsSize(m_placement) ? kCaptionPosSize
                                                                 : QGuiApplication::applicationDisplayName();
}

// ---- the window's placement ----

void LayoutStore::restorePlacement(const IniFile &ini, bool reportErrors) const
{
    QWidget *w = window();
    if (!w)
        return;
    if (m_placement == Placement::Bounds) {
        const auto left = readInt(ini, m_section, QStringLiteral("Left"));
        const auto top = readInt(ini, m_section, QStringLiteral("Top"));
        const auto width = readInt(ini, m_section, QStringLiteral("Width"));
        const auto height = readInt(ini, m_section, QStringLiteral("Height"));
        if (left && top)
            w->move(*left, *top);
        if (width && height && *width > 0 && *height > 0)
            w->resize(*width, *height);
        keepFramePosition(w);
        if (w->isWindow())
            m_normalPlace = QRect(w->pos(), w->size());
        if (const auto state = readInt(ini, m_section, QStringLiteral("State"))) {
            Qt::WindowStates states = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
            if (*state == 1)
                states |= Qt::WindowMinimized;
            else if (*state == 2)
                states |= Qt::WindowMaximized;
            w->setWindowState(states);
        }
        return;
    }
    if (m_placement == Placement::None)
        return;
    // "Pos" and "Size": each number is applied as soon as it is read, so a malformed second one
    // leaves the first in effect.
    try {
        const QSize screen = interaction().screenSize();
        const int maxLeft = screen.width() - 400;
        const int maxTop = screen.height() - 200;
        if (keepsPosition(m_placement)) {
            const QString pos = ini.ReadString(m_section, QStringLiteral("Pos"), QString());
            if (!pos.isEmpty()) {
                const qsizetype comma = pos.indexOf(u',');
                const int left = std::min(toInteger(comma < 0 ? QString() : pos.left(comma)), maxLeft);
                w->move(left, w->y());
                const int top = std::min(toInteger(pos.mid(comma + 1)), maxTop);
                w->move(left, top);
            }
        }
        if (keepsSize(m_placement)) {
            const QString size = ini.ReadString(m_section, QStringLiteral("Size"), QString());
            if (!size.isEmpty()) {
                const qsizetype comma = size.indexOf(u',');
                const int height = toInteger(comma < 0 ? QString() : size.left(comma));
                w->resize(w->width(), height);
                const int width = toInteger(size.mid(comma + 1));
                w->resize(width, height);
            }
        }
    } catch (const std::exception &error) {
        if (reportErrors)
            report(messageOf(error), kCaptionPosSize);
    }
    if (keepsPosition(m_placement))
        keepFramePosition(w);
}

void LayoutStore::savePlacement(IniFile &ini) const
{
    QWidget *w = window();
    if (!w)
        return;
    if (m_placement == Placement::Bounds) {
        const Qt::WindowStates states = w->windowState();
        const int state = states & Qt::WindowMinimized ? 1 : states & Qt::WindowMaximized ? 2 : 0;
        // A maximised or minimised top-level window keeps its place in the normal state (the
        // frame's position and the client's size, as a normal one); a child has none to report.
        // QWidget::normalGeometry() cannot stand for it: it is the client's position once the
        // window was mapped, and the frame's when the state was set before.
        const bool normal = state == 0;
        if (normal || w->isWindow()) {
            const QRect r = normal ? QRect(w->pos(), w->size()) : m_normalPlace.value_or(w->normalGeometry());
            if (r.isValid()) {
                ini.WriteInteger(m_section, QStringLiteral("Left"), r.x());
                ini.WriteInteger(m_section, QStringLiteral("Top"), r.y());
                ini.WriteInteger(m_section, QStringLiteral("Width"), r.width());
                ini.WriteInteger(m_section, QStringLiteral("Height"), r.height());
            }
        }
        ini.WriteInteger(m_section, QStringLiteral("State"), state);
        return;
    }
    if (keepsPosition(m_placement))
        ini.WriteString(m_section, QStringLiteral("Pos"), QStringLiteral("%1,%2").arg(w->x()).arg(w->y()));
    if (keepsSize(m_placement))
        ini.WriteString(m_section, QStringLiteral("Size"), QStringLiteral("%1,%2").arg(w->height()).arg(w->width()));
}

// ---- reading and writing ----

void LayoutStore::restore()
{
    if (m_iniFileName.isEmpty() || !m_form)
        return;
    m_restored = true;
    m_written = false;
    m_reapplyInSubWindow = window() == m_form.data();
    const IniFile ini(m_iniFileName);
    restorePlacement(ini, true);
    for (const Part &part : std::as_const(m_parts)) {
        try {
            part.restore(ini);
        } catch (const std::exception &error) {
            report(messageOf(error), part.errorCaption);
        }
    }
}

void LayoutStore::save()
{
    if (m_iniFileName.isEmpty() || !m_form)
        return;
    m_written = true;
    IniFile ini(m_iniFileName);
    // The file is written once for all the values.
    ZapiszRazem(ini, [&] {
        savePlacement(ini);
        for (const Part &part : std::as_const(m_parts))
            part.save(ini);
    });
}

void LayoutStore::saveOrReport()
{
    try {
        save();
    } catch (const std::exception &error) {
        report(messageOf(error), saveErrorCaption());
    }
}

bool LayoutStore::hasStoredPlacement() const
{
    switch (m_placement) {
    case Placement::Pos:
    case Placement::PosSize: return hasStoredValue(QStringLiteral("Pos"));
    case Placement::Size: return hasStoredValue(QStringLiteral("Size"));
    case Placement::Bounds: return hasStoredValue(QStringLiteral("Left"));
    case Placement::None: break;
    }
    return false;
}

bool LayoutStore::hasStoredValue(const QString &key) const
{
    return !m_iniFileName.isEmpty() && IniFile(m_iniFileName).ValueExists(m_section, key);
}

} // namespace katarix::app
