#include "app/PostepRaportu.h"

#include "app/Interaction.h"
#include "app/MainFrm.h"

namespace katarix::app {

PostepRaportu::PostepRaportu(QWidget *parent)
    : m_dialog(interaction().progress(parent, TytulAplikacji(), QStringLiteral("Tworzenie raportu...")))
{
}

PostepRaportu::~PostepRaportu() = default;

void PostepRaportu::krok(const char *opis, qint64 zrobione, qint64 wszystkie)
{
    // The first step of each stage reaches the dialog; later ones every OdstepMs.
    if (opis == m_opis && m_odPokazania.elapsed() < OdstepMs)
        return;
    m_opis = opis;
    m_odPokazania.start();
    QString tekst = QString::fromUtf8(opis).replace(QLatin1String("%1"), QString::number(zrobione));
    m_dialog->update(tekst.replace(QLatin1String("%2"), QString::number(wszystkie)), zrobione, wszystkie);
    if (m_dialog->cancelled())
        throw RaportPrzerwany();
}

} // namespace katarix::app
