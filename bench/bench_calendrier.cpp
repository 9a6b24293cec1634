// Time to fill and mark the twelve month blocks of a year, for every year
// 1583..9999.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "calendar/Feries.h"
#include "calendar/Mois.h"

int main()
{
    using Horloge = std::chrono::steady_clock;
    constexpr int Premiere = 1583, Derniere = 9999;

    std::vector<BlocMois> blocs(12);
    std::vector<double> durees;
    durees.reserve(Derniere - Premiere + 1);
    long long controle = 0; // keeps the work observable

    const auto debutTotal = Horloge::now();
    for (int annee = Premiere; annee <= Derniere; ++annee) {
        const auto debut = Horloge::now();
        for (int mois = 1; mois <= 12; ++mois) {
            BlocMois& b = blocs[mois - 1];
            RemplirMois(b, annee, mois);
            CouleurFerie(b, AffichageFeries{});
        }
        const auto fin = Horloge::now();
        durees.push_back(std::chrono::duration<double, std::micro>(fin - debut).count());
        for (const BlocMois& b : blocs)
            controle += b.cellules[20].legende + int(b.cellules[20].fond) + long(b.titre.size());
    }
    const double total = std::chrono::duration<double, std::milli>(Horloge::now() - debutTotal).count();

    std::vector<double> tri = durees;
    std::nth_element(tri.begin(), tri.begin() + tri.size() / 2, tri.end());
    const double mediane = tri[tri.size() / 2];

    std::printf("years %d..%d: %zu years, 12 blocks each\n", Premiere, Derniere, durees.size());
    std::printf("median per year: %.2f us\n", mediane);
    std::printf("total: %.1f ms (checksum %lld)\n", total, controle);
    return 0;
}
