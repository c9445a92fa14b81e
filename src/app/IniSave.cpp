#include "app/IniSave.h"

#include "app/IniFile.h"
#include "app/Interaction.h"

#include <QEvent>
#include <QMdiSubWindow>

#include <algorithm>
#include <exception>

namespace katarix::app {

namespace {

// Scoped open of the configuration file for the ini field.
class OpenIni {
public:
    OpenIni(IniFile *&slot, const QString &path) : m_slot(slot), m_file(path) { m_slot = &m_file; }
    ~OpenIni() { m_slot = nullptr; }
    IniFile &file() { return m_file; }

private:
    IniFile *&m_slot;
    IniFile m_file;
};

} // namespace

// Applies the stored placement again when the window is put into an MDI sub-window.
class IniSaveWatcher : public QObject {
public:
    explicit IniSaveWatcher(TIniSave &owner) : m_owner(owner) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ParentChange && watched == m_owner.control) {
            auto *sub = qobject_cast<QMdiSubWindow *>(m_owner.control->parentWidget());
            if (sub && sub != m_owner.subWindow) {
                m_owner.subWindow = sub;
                m_pending = true;
                sub->installEventFilter(this);
            }
        } else if (event->type() == QEvent::Show && m_pending && watched == m_owner.subWindow) {
            // After the MDI area has placed the new sub-window.
            m_pending = false;
            m_owner.load(false);
        }
        return false;
    }

private:
    TIniSave &m_owner;
    bool m_pending = false;
};

QString TIniSave::errorCaption() { return QStringLiteral("Błąd podczas zapisywania ustawień kontrolki do pliku ini"); }

TIniSave::~TIniSave() { Save(); }

void TIniSave::Setup(QWidget *control_, const QString &iniPath_, bool saveSize_, bool savePos_, const QString &section_)
{
    control = control_;
    iniPath = iniPath_;
    saveSize = saveSize_;
    savePos = savePos_;
    section = section_;
    ini = nullptr;
    subWindow = nullptr;
    watcher.reset();
    if (control) {
        watcher = std::make_unique<IniSaveWatcher>(*this);
        control->installEventFilter(watcher.get());
    }
}

void TIniSave::Init(QWidget *control_, const QString &iniPath_, bool saveSize_, bool savePos_, const QString &section_)
{
    Setup(control_, iniPath_, saveSize_, savePos_, section_);
    Load();
}

QWidget *TIniSave::target()
{
    // While a sub-window is being destroyed its type is no longer known, so the one seen
    // before is recognised by identity.
    if (subWindow && control->parentWidget() == subWindow)
        return subWindow;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(control->parentWidget()))
        return subWindow = sub;
    return control;
}

void TIniSave::report(const QString &message) const
{
    interaction().messageBox(control, message, errorCaption(), mb::Ok | mb::IconError);
}

void TIniSave::Load() { load(true); }

void TIniSave::load(bool reportErrors)
{
    if (!control)
        return;
    try {
        OpenIni open(ini, iniPath);
        QWidget *window = target();
        const QSize screen = interaction().screenSize();
        const int maxLeft = screen.width() - 400;
        const int maxTop = screen.height() - 200;
        if (savePos) {
            const QString pos = ini->ReadString(section, QStringLiteral("Pos"), QString());
            if (!pos.isEmpty()) {
                const qsizetype comma = pos.indexOf(u',');
                const int left = std::min(toInteger(comma < 0 ? QString() : pos.left(comma)), maxLeft);
                window->move(left, window->y());
                const int top = std::min(toInteger(pos.mid(comma + 1)), maxTop);
                window->move(left, top);
            }
        }
        if (saveSize) {
            const QString size = ini->ReadString(section, QStringLiteral("Size"), QString());
            if (!size.isEmpty()) {
                const qsizetype comma = size.indexOf(u',');
                const int height = toInteger(comma < 0 ? QString() : size.left(comma));
                window->resize(window->width(), height);
                const int width = toInteger(size.mid(comma + 1));
                window->resize(width, height);
            }
        }
    } catch (const IniError &error) {
        if (reportErrors)
            report(error.message());
    } catch (const std::exception &error) {
        if (reportErrors)
            report(QString::fromUtf8(error.what()));
    }
}

void TIniSave::Save()
{
    if (!control)
        return;
    try {
        OpenIni open(ini, iniPath);
        QWidget *window = target();
        ZapiszRazem(*ini, [&] {
            if (savePos)
                ini->WriteString(section, QStringLiteral("Pos"),
                                 QStringLiteral("%1,%2").arg(window->x()).arg(window->y()));
            if (saveSize)
                ini->WriteString(section, QStringLiteral("Size"),
                                 QStringLiteral("%1,%2").arg(window->height()).arg(window->width()));
        });
    } catch (const IniError &error) {
        report(error.message());
    } catch (const std::exception &error) {
        report(QString::fromUtf8(error.what()));
    }
}

} // namespace katarix::app
