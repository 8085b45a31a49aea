#include <iostream>
#include <string>
#include <vector>

#include "batch.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return kalvoro::runBatch(args, std::cout, std::cerr);
}
