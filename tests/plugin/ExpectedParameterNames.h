#pragma once

// The parameter names a host must be given, written out independently of the table.
inline constexpr const char* kExpectedParameterNames[21] = {"Detection",
                                                            "SC Filter Type",
                                                            "SC Filter Freq",
                                                            "Threshold",
                                                            "Knee",
                                                            "Ratio",
                                                            "Attack",
                                                            "Release",
                                                            "Release Slow",
                                                            "Dry Mix",
                                                            "Make Up Gain",
                                                            "HF Harmonics",
                                                            "LF Harmonics",
                                                            "HF Harmonics Amount",
                                                            "LF Harmonics Amount",
                                                            "Delta",
                                                            "Bypass",
                                                            "SC Preview",
                                                            "Meter Scale",
                                                            "-",
                                                            "-"};
