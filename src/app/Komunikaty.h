#pragma once

#include "app/Interaction.h"

#include <QString>

#include <exception>

namespace katarix::app {

// The application title: the default caption of message boxes ("Katarix", then with the version).
QString TytulAplikacji();
void UstawTytulAplikacji(const QString &title);

// The shared modal message box, owned by the main window: beeps first when asked, an empty
// caption is the application title; returns the pressed button (mb::Id*).
int Komunikat(const QString &tekst, const QString &tytul = QString(), int flagi = mb::Ok, bool sygnal = false);
// The standard exception display: the message, the application title, the error icon.
void PokazWyjatek(const QString &message);
void PokazWyjatek(const std::exception &error);

} // namespace katarix::app
