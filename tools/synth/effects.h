#pragma once
// The mix's effects, each run once over a whole bus.
#include <vector>

// A small hall: parallel damped feedback combs into series all-passes, with
// different delay lengths left and right so the tail is wide. Adds the wet
// signal of the mono send `in` to outL/outR.
void add_reverb(const std::vector<float>& in, std::vector<float>& outL, std::vector<float>& outR,
                int rate, float wet);

// Ping-pong echo: the send bounces between left and right every `delaySec`,
// darker and quieter on each bounce.
void add_echo(const std::vector<float>& in, std::vector<float>& outL, std::vector<float>& outR,
              int rate, float delaySec, float feedback, float wet);
