// SPDX-License-Identifier: Apache-2.0
// The C library under a Turkish locale for the length of one test. There
// tolower, and with it strcasecmp, keeps "I" and "i" apart (the capital of
// "i" is the dotted "İ"), so a name comparison that follows the locale shows
// itself. The test
// command generates the locale (scripts/test.sh).
#ifndef KELM_TESTS_SUPPORT_TURKISHLOCALE_H
#define KELM_TESTS_SUPPORT_TURKISHLOCALE_H

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <string>

class TurkishLocale
{
public:
    static constexpr const char* kName = "tr_TR.UTF-8";

    TurkishLocale() : m_saved(std::setlocale(LC_ALL, nullptr))
    {
        m_active = std::setlocale(LC_ALL, kName) != nullptr;
    }
    ~TurkishLocale() { std::setlocale(LC_ALL, m_saved.c_str()); }
    TurkishLocale(const TurkishLocale&) = delete;
    TurkishLocale& operator=(const TurkishLocale&) = delete;

    // Whether the locale is in force and folds letters the Turkish way, so
    // that a test under it can tell a locale-bound comparison apart.
    ::testing::AssertionResult Bites() const
    {
        if (!m_active)
        {
            return ::testing::AssertionFailure()
                   << kName << " is not installed; scripts/test.sh generates it with localedef";
        }
        // The C library's case tables, which its strcasecmp reads (the
        // sanitizers' own strcasecmp does not, so it cannot tell).
        if (std::tolower('I') == 'i')
        {
            return ::testing::AssertionFailure()
                   << kName << " is in force but folds \"I\" to \"i\" like the C locale";
        }
        return ::testing::AssertionSuccess();
    }

private:
    std::string m_saved;
    bool m_active = false;
};

#endif
