#pragma once
// Shared by the core tests and the fuzzing harnesses: whole files as bytes.
// For the Qt tests (the fuzz build has no Qt and defines ARDEMO_SANS_QT), the
// locale: tests that read or write numbers take the locale of the environment,
// as the program does; when ARDEMO_TEST_LOCALE names one (scripts/test-env.sh
// provides it), it must really be in force.
#include <filesystem>
#include <fstream>
#include <string>

inline std::string LireFichier(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void EcrireFichier(const std::filesystem::path& p, std::string_view s)
{
    std::ofstream(p, std::ios::binary | std::ios::trunc).write(s.data(), std::streamsize(s.size()));
}

#ifndef ARDEMO_SANS_QT
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
#endif
