#include "app/AppError.h"

#include "jet/ErrorText.h"

namespace katarix::app {

QString komunikatWyjatku(const std::exception &error)
{
    return jet::errorText(error);
}

} // namespace katarix::app
