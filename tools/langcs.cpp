// Prints the "font/cs" value each language file's texts call for, computed by the same
// code the program checks it with.
//
//   langcs FILE...          print "<cs>" for one file, "<file> <cs>" for several
//   langcs --check FILE...  exit 1 when a file's stored value differs (names it on stderr)
#include "languagechecksum.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool check = !args.isEmpty() && args.first() == QLatin1String("--check");
    if (check)
        args.removeFirst();
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: langcs [--check] FILE...\n");
        return 2;
    }
    int status = 0;
    for (const QString& path : args) {
        if (!QFileInfo(path).isFile()) {
            std::fprintf(stderr, "langcs: %s: no such file\n", qPrintable(path));
            status = 1;
            continue;
        }
        QSettings file(path, QSettings::IniFormat);
        file.setIniCodec("UTF-8");
        const QString cs = LanguageChecksum::ofFile(file);
        if (check) {
            const QString stored = file.value(QStringLiteral("font/cs")).toString();
            if (stored != cs) {
                std::fprintf(stderr, "langcs: %s: stored \"%s\", texts call for \"%s\"\n",
                             qPrintable(path), qPrintable(stored), qPrintable(cs));
                status = 1;
            }
        } else if (args.size() == 1) {
            std::printf("%s\n", qPrintable(cs));
        } else {
            std::printf("%s %s\n", qPrintable(path), qPrintable(cs));
        }
    }
    return status;
}
