#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "commun/ValeurCouleur.h"

namespace defaut {
constexpr double CoulTxtEntete = 8388736;  // 0x00800080
constexpr double CoulNoms = 11196138;      // 0x00AAD6EA
constexpr double CoulJours = 14282996;     // 0x00D9F0F4
constexpr double CoulGris = 12632256;      // 0x00C0C0C0
constexpr double CoulFerie = 16761087;     // 0x00FFC0FF
constexpr double CoulWeekEnd = 8438015;    // 0x0080C0FF
constexpr double CoulGrille = 0;           // black
constexpr double CoulBordure = 13822459;   // 0x00D2E9FB
}

// The eight slots of the colour scheme, in the order of Pelvado.ini.
struct SchemaCouleurs {
    double CoulTxtEntete = defaut::CoulTxtEntete;
    double CoulNoms = defaut::CoulNoms;
    double CoulJours = defaut::CoulJours;
    double CoulGris = defaut::CoulGris;
    double CoulFerie = defaut::CoulFerie;
    double CoulWeekEnd = defaut::CoulWeekEnd;
    double CoulGrille = defaut::CoulGrille;
    double CoulBordure = defaut::CoulBordure;

    static constexpr int Nombre = 8;
    // Slot i in file order (0 CoulTxtEntete ... 7 CoulBordure).
    double& slot(int i);
    double slot(int i) const;
    std::array<double, Nombre> valeurs() const;
    void affecter(const std::array<double, Nombre>& v);
};

// The special text colours of the day cells: block 0..12 by cell 0..42 (blocks
// 1..12 and cells 0..41 used), keyed by the cell's place in its block, not by date.
using TableCouleursSP = double[13][43];

// What each special colour stands for ("Anniversaires", "Vacances zone B"),
// by colour value (0x00BBGGRR, a whole number); a colour may have none.
using EtiquettesCouleurs = std::map<int, std::string>;

// Key names of the "Couleurs" section, in file order (Windows-1252 bytes: the
// é of CoulFérié is 0xE9).
extern const char* const CleCouleur[SchemaCouleurs::Nombre];
