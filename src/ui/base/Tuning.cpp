#include "ui/base/Tuning.h"

#include <utility>

Tuning &Tuning::current()
{
    static Tuning tuning = [] {
        Tuning t;
        t.stampSearchTimes = qEnvironmentVariableIsSet("VETRINORA_TEMPI_RICERCA");
        return t;
    }();
    return tuning;
}

Tuning::Scoped::Scoped(Tuning tuning) : saved_(std::exchange(current(), std::move(tuning))) {}

Tuning::Scoped::~Scoped() { current() = std::move(saved_); }
