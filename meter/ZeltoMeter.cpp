#include "ZeltoMeter.h"

ZeltoMeter::ZeltoMeter() = default;

ZeltoMeter::~ZeltoMeter() = default;

void ZeltoMeter::Init (float sampleRate)
{
    engineRate.store (sampleRate >= 100.0f ? (int) sampleRate : 96000);
}
