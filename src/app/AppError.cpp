#include "app/AppError.h"

#include "app/IniFile.h"
#include "jet/JetError.h"

namespace katarix::app {

QString komunikatWyjatku(const std::exception &error)
{
    if (auto *jetError = dynamic_cast<const jet::JetError *>(&error))
        return jetError->message();
    if (auto *appError = dynamic_cast<const AppError *>(&error))
        return appError->message();
    if (auto *iniError = dynamic_cast<const IniError *>(&error))
        return iniError->message();
    return QString::fromUtf8(error.what());
}

} // namespace katarix::app
