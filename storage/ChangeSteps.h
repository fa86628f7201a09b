#pragma once

#include <string_view>

namespace brivanto {

// The steps of a change to an archive's files (a deletion, an import, a recovery), told to an
// observer as each is reached. The program passes none; tests put one in to stop a change there
// as a crash or a power cut would, or to make that step fail as a full disk would (by throwing
// ArchiveError).
class ChangeSteps
{
public:
    virtual ~ChangeSteps() = default;
    virtual void reached(std::string_view step) = 0;
};

// Tells `steps`, when there are any, that a change reached `step`.
inline void reachStep(ChangeSteps* steps, std::string_view step)
{
    if (steps)
        steps->reached(step);
}

} // namespace brivanto
