#include "plugin/FactoryPrograms.h"

#include "plugin/ParameterTable.h"

#include <cstring>

namespace {

struct FactoryProgram {
    const char* name;
    float values[kNumParameters];
};

// clang-format off
constexpr FactoryProgram kFactoryPrograms[kNumPrograms] = {
    // name                      Det    SCTyp SCFreq  Thr    Knee   Ratio  Att    Rel     RelSl  Dry Make   HF LF HFAmt  LFAmt  Dlt Byp SCP Scale  -  -
    {"Downward Comp. Reset",  {0.54f,  0.0f, 0.475f, 0.0f,  0.16f, 0.4f,  0.31f, 0.425f, 0.5f,  0, 0.5f,  0, 0, 0.5f,  0.5f,  0,  0,  0,  0.25f, 0, 0}},
    {"Upward Comp. Reset",    {0.54f,  0.0f, 0.475f, 0.8f,  0.16f, 0.4f,  0.31f, 0.425f, 0.5f,  1, 0.0f,  0, 0, 0.5f,  0.5f,  0,  0,  0,  0.5f,  0, 0}},
    {"Mastering: Smooth",     {0.54f,  0.5f, 0.52f,  0.49f, 0.29f, 0.21f, 0.43f, 0.46f,  0.63f, 0, 0.58f, 1, 1, 0.25f, 0.25f, 0,  0,  0,  0.25f, 0, 0}},
    {"Mastering: Tight",      {1.0f,   1.0f, 0.6f,   0.49f, 0.09f, 0.41f, 0.31f, 0.37f,  0.5f,  0, 0.63f, 1, 1, 0.25f, 0.25f, 0,  0,  0,  0.25f, 0, 0}},
    {"Mastering: Aggressive", {0.447f, 1.0f, 0.6f,   0.49f, 0.06f, 0.74f, 0.25f, 0.29f,  0.46f, 0, 0.67f, 1, 1, 0.5f,  0.5f,  0,  0,  0,  0.25f, 0, 0}},
    {"Mastering: Upward",     {1.0f,   0.5f, 0.52f,  1.0f,  0.28f, 0.52f, 0.27f, 0.42f,  0.5f,  1, 0.37f, 1, 1, 0.25f, 0.25f, 0,  0,  0,  0.75f, 0, 0}},
    {"Leveller",              {0.7f,   0.5f, 0.58f,  0.7f,  0.0f,  0.41f, 0.74f, 0.425f, 0.91f, 0, 0.67f, 0, 0, 0.5f,  0.5f,  0,  0,  0,  0.25f, 0, 0}},
};
// clang-format on

} // namespace

void fillFactoryPrograms(CompressorProgram (&programs)[kNumPrograms]) {
    for (int p = 0; p < kNumPrograms; ++p) {
        std::strncpy(programs[p].name, kFactoryPrograms[p].name, CompressorProgram::kNameLength);
        for (int i = 0; i < kNumParameters; ++i)
            programs[p].setValue(i, kFactoryPrograms[p].values[i]);
    }
}

const char* factoryProgramName(int program) {
    return kFactoryPrograms[program].name;
}

float factoryProgramValue(int program, int index) {
    return kFactoryPrograms[program].values[index];
}

int factoryProgramHolding(const float (&values)[kNumParameters]) {
    for (int p = 0; p < kNumPrograms; ++p) {
        int i = 0;
        while (i < kNumParameters &&
               (!hasFunction(i) || values[i] == kFactoryPrograms[p].values[i]))
            ++i;
        if (i == kNumParameters) return p;
    }
    return -1;
}
