#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace brivanto {

// The access password lives in an INI file of the program folder, section "Accesso", key
// "Valore", scrambled by EncodePassword. The program never creates or resets the file on its
// own: it is delivered with the installation and only the change-password screen writes it.
QString passwordFilePath();
// The file's name in the program folder, the one the build delivers and installs.
inline const QString PasswordFileName = QStringLiteral(BRIVANTO_PASSWORD_FILE_NAME);

// A typed password as it is compared and stored: the ASCII letters a-z turned into A-Z (accented
// letters and every other character stay exactly as typed), then trimmed.
QString normalisedPassword(QStringView typed);

// The stored password, decoded and trimmed. A missing file, section or key gives the empty text;
// nullopt when the file cannot be read or its value is not hexadecimal.
std::optional<QString> readStoredPassword();

enum class PasswordCheck
{
    Right,
    Wrong,
    Unreadable
};

// Compares a typed password with the stored one, character for character.
PasswordCheck checkPassword(QStringView typed);

// What the scrambling cannot keep: more than 255 characters, or a code above U+00FF (only its
// low 8 bits would be stored, and the password could never be typed again).
enum class NewPasswordProblem
{
    None,
    TooLong,
    UnsupportedCharacter
};
constexpr qsizetype MaxPasswordLength = 255;

NewPasswordProblem newPasswordProblem(QStringView typed);

// Stores a typed password, normalised and scrambled, creating the file, the section or the key
// when absent and keeping every other line. The file is replaced in one step: on failure (false)
// the previous password stays in force.
bool writeStoredPassword(QStringView typed);

} // namespace brivanto
