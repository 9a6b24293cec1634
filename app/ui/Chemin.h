#pragma once
// A file name from a window or the command line, as the core's file functions
// take it: the bytes the system uses for that name.
#include <QFile>
#include <QString>
#include <filesystem>

inline std::filesystem::path CheminFichier(const QString& nom)
{
    return std::filesystem::path(QFile::encodeName(nom).toStdString());
}
