#pragma once

#include <QApplication>

namespace katarix::app {

// The application object: an exception that escapes an event handler goes to the standard
// exception display and the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace katarix::app
