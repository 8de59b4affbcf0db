#include <iostream>

#include "Zubsim.h"

int main(int argc, char** argv) { return zub::zubsimMain(argc, argv, std::cout, std::cerr); }
