// The four numbers of the score panel as texts. Each text is kept for the whole run and
// formatted in place, so drawing the panel allocates nothing after the first frame.
#pragma once

#include <cstdint>

#include "base/tstring.h"

class TScoreTexts {
public:
    // best and score as nine digits, bombs and lives with at least two (more when the value
    // needs them); lives below 0 show as 0.
    void Format(uint32_t best, uint32_t score, int32_t bombs, int32_t lives);

    const TString& Best() const { return best_; }
    const TString& Score() const { return score_; }
    const TString& Bombs() const { return bombs_; }
    const TString& Lives() const { return lives_; }

private:
    void Put(TString& text, const char* format, unsigned value)
        __attribute__((format(printf, 3, 0)));

    TString best_;
    TString score_;
    TString bombs_;
    TString lives_;
};
