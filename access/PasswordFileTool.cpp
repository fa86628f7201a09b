// Writes the password file delivered with the program: the initial password, in capitals,
// scrambled. Run by the build; the installation puts the file in the program folder only when
// none is there, so that a password the user has set is never reset.
#include "access/PasswordCodec.h"

#include <QSaveFile>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <password file>\n", argv[0]);
        return 2;
    }
    const QByteArray content =
        "[Accesso]\r\nValore=" + brivanto::EncodePassword(u"BENVENUTISSIMO").toLatin1() + "\r\n";
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
