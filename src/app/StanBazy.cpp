// Where the register stands before it is asked for: its copy refreshed in the background from
// start-up, and panel 1 of the status bar.
//
// The background load is the loader helper process at low priority; this thread stays the
// program's only one and learns of it through the event loop. Nothing is opened and nothing is
// said at start: the first window request takes the load over (or finds the copy ready) and
// reports any failure as an opening does.
#include "app/MainFrm.h"

#include <QLabel>

namespace katarix::app {

void TMainFrm::OdswiezKopieWTle()
{
    m_wczytywanieWTle.reset();
    if (!SciezkaBazy.isEmpty() && !Baza.isOpen())
        m_wczytywanieWTle = jet::RegisterPreload::start(SciezkaBazy, OpcjeOtwarcia);
    if (m_wczytywanieWTle) {
        connect(m_wczytywanieWTle.get(), &jet::RegisterPreload::progressed, this,
                [this](int percent) { PokazStanBazy(percent); });
        connect(m_wczytywanieWTle.get(), &jet::RegisterPreload::finished, this, [this] { PokazStanBazy(); });
        PokazStanBazy(m_wczytywanieWTle->percent());
    } else {
        PokazStanBazy();
    }
}

// Another register chosen, or the database closed for another one: a background load of the
// previous register stops and leaves nothing behind.
void TMainFrm::zatrzymajWczytywanieInnejBazy()
{
    if (m_wczytywanieWTle && m_wczytywanieWTle->path() != SciezkaBazy)
        m_wczytywanieWTle.reset();
    PokazStanBazy(m_wczytywanieWTle && m_wczytywanieWTle->loading() ? m_wczytywanieWTle->percent() : -1);
}

void TMainFrm::PokazStanBazy(int procent)
{
    QLabel *panel = StatPanele[1];
    if (!panel)
        return;
    // Wide enough for the longest of its texts in the program's font.
    const int needed = panel->fontMetrics().horizontalAdvance(QStringLiteral("Wczytywanie bazy: 100%"))
        + 2 * panel->frameWidth() + 2 * panel->margin() + 8;
    if (panel->width() < needed)
        panel->setFixedWidth(needed);
    if (procent >= 0)
        panel->setText(QStringLiteral("Wczytywanie bazy: %1%").arg(procent));
    else if (Baza.isOpen() || (!SciezkaBazy.isEmpty() && jet::registerCopyIsCurrent(SciezkaBazy, OpcjeOtwarcia)))
        panel->setText(QStringLiteral("Baza gotowa"));
    else
        panel->setText(QStringLiteral("Baza niewczytana"));
}

} // namespace katarix::app
