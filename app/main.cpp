#include "app/ui/Programme.h"

int main(int argc, char* argv[])
{
    return LancerArdemo(argc, argv);
}
