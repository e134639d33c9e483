#pragma once
#include <QString>
#include <stdexcept>

// The scrambling of the stored password: each character's low byte is XORed
// with a running 16-bit key that moves on with every cipher byte, and written
// as two upper-case hexadecimal digits.
namespace Crypt {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QString Scramble(const QString &plain);
// Throws Crypt::Error when a digit pair is not hexadecimal. A last odd digit
// is ignored.
QString Unscramble(const QString &scrambled);

} // namespace Crypt
