#pragma once

#include "storage/ArchiveFile.h"
#include "storage/ChangeSteps.h"

#include <QStringList>

#include <functional>
#include <string>

#include <unistd.h>

// The steps of a change, as a test scripts them: each step is counted and named; at step
// `stopAt` the process ends as a crash would end it, and at a step named in `failing` the change
// meets a failure, as a full disk or a lost share would give it.
class ScriptedSteps : public brivanto::ChangeSteps
{
public:
    static constexpr int StoppedExitCode = 42;

    int stopAt = -1;
    QStringList failing;
    std::function<void(std::string_view step)> onStep;
    QStringList passed;

    void reached(std::string_view step) override
    {
        const QString name = QString::fromUtf8(step.data(), qsizetype(step.size()));
        if (int(passed.size()) == stopAt)
            ::_exit(StoppedExitCode);
        passed << name;
        if (onStep)
            onStep(step);
        if (failing.contains(name))
            throw brivanto::ArchiveError("scripted failure at " + std::string(step));
    }
};
