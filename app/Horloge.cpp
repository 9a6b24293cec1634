#include "app/Horloge.h"

#include <ctime>

Date Horloge::Aujourdhui()
{
    const std::time_t maintenant = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&maintenant, &local))
        return Date{1, 1, 1970};
    return Date{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}
