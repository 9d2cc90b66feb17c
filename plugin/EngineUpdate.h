#pragma once

class DynamicsEngine;

// How each parameter's normalized value reaches the engine. The single/double precision steps
// follow the curves the host texts print, so what the user reads is what the engine gets.
// Continuous curves take the value limited to 0..1: a host may store anything, but a ratio
// below 1:1 in a feedback loop would let the gain run away and an overflowing exponential
// would leave a gain stuck at its old value.
namespace engineUpdate {

void detection(DynamicsEngine& engine, float v);
void scFilterType(DynamicsEngine& engine, float v);
void scFilterFreq(DynamicsEngine& engine, float v);
void threshold(DynamicsEngine& engine, float v);
void knee(DynamicsEngine& engine, float v);
void ratio(DynamicsEngine& engine, float v);
void attack(DynamicsEngine& engine, float v);
void release(DynamicsEngine& engine, float v);
void releaseSlow(DynamicsEngine& engine, float v);
void dryMix(DynamicsEngine& engine, float v);
void makeUpGain(DynamicsEngine& engine, float v);
void hfHarmonics(DynamicsEngine& engine, float v);
void lfHarmonics(DynamicsEngine& engine, float v);
void hfHarmonicsAmount(DynamicsEngine& engine, float v);
void lfHarmonicsAmount(DynamicsEngine& engine, float v);
void delta(DynamicsEngine& engine, float v);
void scPreview(DynamicsEngine& engine, float v);
void scSource(DynamicsEngine& engine, float v);
// Bypass, Meter Scale and the two unused slots change nothing in the engine.
void none(DynamicsEngine& engine, float v);

} // namespace engineUpdate
