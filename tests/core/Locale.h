#pragma once
// Core tests that read or write numbers take the locale of the environment, as
// the program does (Qt sets it at start-up). When ARDEMO_TEST_LOCALE names one
// (scripts/test-env.sh provides it), it must really be in force.
#include <QtTest>
#include <clocale>
#include <cstdlib>
#include <cstring>

inline void verifierLocale()
{
    std::setlocale(LC_ALL, "");
    if (const char* voulue = std::getenv("ARDEMO_TEST_LOCALE"); voulue && *voulue)
        QVERIFY2(std::strcmp(std::localeconv()->decimal_point, ",") == 0, voulue);
}
