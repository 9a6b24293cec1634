#include "calendar/Paques.h"

#include "commun/Nombres.h"

std::string MessageErreurPaques(int n)
{
    return "Erreur dans le calcul de la date de pâques !\r"
           "Le mois (valeur de N) doit être 3 ou 4 ==> N=" + std::to_string(n);
}

Date DimanchePaques(int Y, RapportPaques* rapport)
{
    // Anonymous Gregorian computus. Quotients and remainders rounded down, so
    // that a negative year still gives a date.
    const int a = ModBas(Y, 19);
    const int b = DivBas(Y, 100);
    const int c = ModBas(Y, 100);
    const int d = DivBas(b, 4);
    const int e = ModBas(b, 4);
    const int f = DivBas(b + 8, 25);
    const int g = DivBas(b - f + 1, 3);
    const int h = ModBas(19 * a + b - d - g + 15, 30);
    const int i = c / 4;
    const int k = c % 4;
    const int L = ModBas(32 + 2 * e + 2 * i - h - k, 7);
    const int m = (a + 11 * h + 22 * L) / 451;
    const int s = h + L - 7 * m + 114;
    const int n = s / 31;
    const int p = s % 31;
    if ((n < 3 || n > 4) && rapport)
        rapport->ErreurPaques(MessageErreurPaques(n));
    return Date{p + 1, n, Y};
}
