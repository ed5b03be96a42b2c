// Random draws for the tests that pin what they computed: a uniform draw of our own, from the
// generator's 53 high bits, gives the same numbers with every standard library (the algorithm of
// std::uniform_real_distribution is left to each).
#pragma once

#include <random>

// a number in [a, b)
inline double Tirage(std::mt19937_64& alea, double a, double b) {
    return a + (b - a) * double(alea() >> 11) * 0x1.0p-53;
}
