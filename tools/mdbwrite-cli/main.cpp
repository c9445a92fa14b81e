// katarix-mdbwrite OPIS.txt BAZA.mdb [--password HASLO] [--creation-date DNI]
// Writes a Jet 4 (Access 2000) database from the text description (see TextDescription.h);
// "-" reads the description from standard input.

#include "MdbContent.h"
#include "TextDescription.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

namespace {

int usage()
{
    std::cerr << "Użycie: katarix-mdbwrite OPIS.txt BAZA.mdb [--password HASLO] [--creation-date DNI]\n"
                 "Zapisuje bazę Access 2000 (.mdb) z tekstowego opisu tabel i wierszy.\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace katarix::mdbwriter;
    std::string input, output;
    WriteOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--password" && i + 1 < argc) {
            options.password = argv[++i];
        } else if (arg == "--creation-date" && i + 1 < argc) {
            char *end = nullptr;
            options.creationDate = std::strtod(argv[++i], &end);
            if (*end) {
                std::cerr << "Niepoprawna data utworzenia: " << argv[i] << "\n";
                return 2;
            }
        } else if (arg == "-h" || arg == "--help") {
            usage();
            return 0;
        } else if (input.empty()) {
            input = arg;
        } else if (output.empty()) {
            output = arg;
        } else {
            return usage();
        }
    }
    if (input.empty() || output.empty())
        return usage();
    try {
        Content content;
        if (input == "-") {
            content = parseTextDescription(std::cin);
        } else {
            std::ifstream in(input);
            if (!in) {
                std::cerr << "Nie można otworzyć pliku „" << input << "”.\n";
                return 1;
            }
            content = parseTextDescription(in);
        }
        writeJet4(content, output, options);
    } catch (const std::exception &e) {
        std::cerr << (input == "-" ? std::string("stdin") : input) << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
