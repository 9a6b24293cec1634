#pragma once
// Shared by the core tests and the fuzzing harnesses (ARDEMO_SANS_QT: no Qt): whole files as bytes; for the Qt
// tests, the environment's locale as the program takes it; one named by ARDEMO_TEST_LOCALE must really be in force.
#include <filesystem>
#include <fstream>
#include <string>

inline std::string LireFichier(const std::filesystem::path& p)
{
    return std::string(std::istreambuf_iterator<char>(std::ifstream(p, std::ios::binary).rdbuf()), {});
}

inline void EcrireFichier(const std::filesystem::path& p, std::string_view s)
{
    std::ofstream(p, std::ios::binary | std::ios::trunc).write(s.data(), std::streamsize(s.size()));
}

#ifndef ARDEMO_SANS_QT
#include <QtTest>
#include <clocale>

inline void verifierLocale()
{
    std::setlocale(LC_ALL, "");
    if (const char* voulue = std::getenv("ARDEMO_TEST_LOCALE"); voulue && *voulue)
        QVERIFY2(std::strcmp(std::localeconv()->decimal_point, ",") == 0, voulue);
}
#endif
