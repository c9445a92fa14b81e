#pragma once

// Tests that need a tool the setup script installs (LibreOffice, the Node.js .mdb reader, the
// pl_PL.UTF-8 locale) skip when it is missing on a developer's machine; under CI (CI=true) the
// missing tool fails the run, so that no test is quietly left out there.

#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace katarix::test {

inline bool underCi()
{
    const QString ci = qEnvironmentVariable("CI").trimmed();
    return ci.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || ci == QLatin1String("1");
}

} // namespace katarix::test

// Use at the top of a test (or SetUp); `message` names the tool and the install step.
#define KATARIX_REQUIRE_TOOL(available, message)                                                  \
    do {                                                                                          \
        if (!(available)) {                                                                       \
            if (::katarix::test::underCi())                                                       \
                FAIL() << (message) << " (CI=true: required)";                                    \
            else                                                                                  \
                GTEST_SKIP() << (message);                                                        \
        }                                                                                         \
    } while (false)
