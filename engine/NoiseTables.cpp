#include "engine/NoiseTables.h"

#include <cmath>

double noiseLow() {
    return std::exp(-21.874558383443432);
}
double noiseHigh() {
    return std::exp(-19.57197329044939);
}
double outputNoiseScale() {
    return std::exp(-15.65757863235951);
}

void fillSmallNoise(CRuntimeRandom& random, double* table, int size) {
    const double low = noiseLow();
    const double range = noiseHigh() - low;
    for (int i = 0; i < size; ++i)
        table[i] = low + random.nextUnit() * range;
}

void fillOutputNoise(CRuntimeRandom& random, double* tableA, double* tableB, int size) {
    const double scale = outputNoiseScale();
    for (int i = 0; i < size; ++i) {
        const double u1 = random.nextUnit();
        const double u2 = random.nextUnit();
        tableA[i] = (u1 + u2 - 0.5) * scale;
        const double u3 = random.nextUnit();
        const double u4 = random.nextUnit();
        tableB[i] = (u3 + u4 - 0.5) * scale;
    }
}
