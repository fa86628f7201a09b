#include "access/PasswordFile.h"

#include "access/PasswordCodec.h"
#include "platform/ProfileFile.h"
#include "storage/ArchiveFolder.h"
#include "storage/FieldText.h"
#include "storage/ProgramFolder.h"

#include <algorithm>

namespace brivanto {
namespace {
const QString Section = QStringLiteral("Accesso");
const QString Key = QStringLiteral("Valore");
} // namespace

QString passwordFilePath()
{
    return ProgramFolder() + PasswordFileName;
}

QString normalisedPassword(QStringView typed)
{
    return trimmed(foldAsciiLetters(typed));
}

std::optional<QString> readStoredPassword()
{
    const std::optional<QString> value = platform::readProfileString(passwordFilePath(), Section, Key);
    if (!value)
        return std::nullopt;
    const std::optional<QString> decoded = DecodePassword(*value);
    if (!decoded)
        return std::nullopt;
    return trimmed(*decoded);
}

PasswordCheck checkPassword(QStringView typed)
{
    const std::optional<QString> stored = readStoredPassword();
    if (!stored)
        return PasswordCheck::Unreadable;
    return normalisedPassword(typed) == *stored ? PasswordCheck::Right : PasswordCheck::Wrong;
}

NewPasswordProblem newPasswordProblem(QStringView typed)
{
    const QString password = normalisedPassword(typed);
    if (password.size() > MaxPasswordLength)
        return NewPasswordProblem::TooLong;
    if (std::any_of(password.cbegin(), password.cend(), [](QChar c) { return c.unicode() > 0xFF; }))
        return NewPasswordProblem::UnsupportedCharacter;
    return NewPasswordProblem::None;
}

bool writeStoredPassword(QStringView typed)
{
    return platform::writeProfileString(passwordFilePath(), Section, Key,
                                        EncodePassword(normalisedPassword(typed)));
}

} // namespace brivanto
