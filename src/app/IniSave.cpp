#include "app/IniSave.h"

#include "app/IniFile.h"
#include "app/Interaction.h"

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
}

void TIniSave::Init(QWidget *control_, const QString &iniPath_, bool saveSize_, bool savePos_, const QString &section_)
{
    Setup(control_, iniPath_, saveSize_, savePos_, section_);
    Load();
}

QWidget *TIniSave::target() const
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(control->parentWidget()))
        return sub;
    return control;
}

void TIniSave::report(const QString &message) const
{
    interaction().messageBox(control, message, errorCaption(), mb::Ok | mb::IconError);
}

void TIniSave::Load()
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
        report(error.message());
    } catch (const std::exception &error) {
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
        if (savePos)
            ini->WriteString(section, QStringLiteral("Pos"),
                             QStringLiteral("%1,%2").arg(window->x()).arg(window->y()));
        if (saveSize)
            ini->WriteString(section, QStringLiteral("Size"),
                             QStringLiteral("%1,%2").arg(window->height()).arg(window->width()));
    } catch (const IniError &error) {
        report(error.message());
    } catch (const std::exception &error) {
        report(QString::fromUtf8(error.what()));
    }
}

} // namespace katarix::app
