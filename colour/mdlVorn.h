#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "calendar/Periode.h"
#include "calendar/Regions.h"
#include "colour/Couleurs.h"

// Flags are 16-bit integers: True = -1, False = 0.
using Flag = int16_t;
constexpr Flag Vrai = -1;
constexpr Flag Faux = 0;

// The program's shared state: one instance, created at start-up and handed to
// every window.
struct mdlVorn {
    // Settings: what is drawn and at which size.
    std::string AnChoisi = "0000";     // chosen year, 4 characters, or school year "2026-2027"
    std::string FichierIni;            // <program folder>/Pelvado.ini
    SchemaCouleurs Couleurs;           // the eight colour slots
    Region RegionFeries = Region::Metropole; // whose public holidays are marked
    int16_t LargeurTwips = 0;
    int16_t HauteurTwips = 0;
    int16_t LargMois = 209;
    int16_t HautMois = 216;
    // Special text colours: month 0..12 by cell 0..42 (1..12, 0..41 used).
    TableCouleursSP TableCoulSP = {};
    // Selected zone of whole months, in pixels of the image.
    int32_t ZoneX1 = 0, ZoneY1 = 0, ZoneX2 = 0, ZoneY2 = 0;
    double RatioZone = 0;
    // The colour a day click applies, and the one it gives back.
    double CoulSPChoisie = 0;
    double CoulTexteNormal = 0;

    // Modes: what the windows are doing.
    Flag CalendrierFait = Faux;
    Flag ZoneChoisie = Faux;
    Flag ModeCoulSP = Faux;
    Flag ApercuOuvert = Faux;

    void CouleursDefaut() { Couleurs = SchemaCouleurs{}; }
    void EffacerCouleursSpeciales();
    // The calendar AnChoisi names; a text that is no period gives the year its number starts with.
    Periode PeriodeChoisie() const;
};
