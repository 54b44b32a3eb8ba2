#pragma once

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

// Runs teil(von, bis) over [0, anzahl) in as many parts as there are cores (at most four), all
// but the first on threads of their own: "Lernstand" follows every question through a long
// history, and a learner waits for it. Fewer than `mindestens` items run in one part. The parts
// must not write to anything they share. Where the system grants no further thread, the parts
// left run here, one after the other: slower, never a crash.
template <class Teil> void inTeilen(int anzahl, int mindestens, Teil teil)
{
    const int kerne = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    const int teile = std::clamp(anzahl / std::max(mindestens, 1), 1, kerne);
    std::vector<std::thread> faeden;
    faeden.reserve(teile - 1);
    int k = 1;
    try {
        for (; k < teile; ++k)
            faeden.emplace_back(teil, anzahl * k / teile, anzahl * (k + 1) / teile);
    } catch (const std::system_error&) {
    }
    teil(0, anzahl / teile);
    if (k < teile)
        teil(anzahl * k / teile, anzahl);
    for (std::thread& f : faeden)
        f.join();
}
