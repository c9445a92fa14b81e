// katarix-gen: writes a synthetic municipal register.
//
//   katarix-gen --parcels N [--seed S] [--password P] OUT
//
// OUT ending in .mdb is written as a Jet 4 database (with P as its database password);
// .sqlite or .db is written as an engine database, loaded as a .mdb would be. The same N and S
// always give the same register. The benchmark register: katarix-gen --parcels 100000 FILE.mdb

#include "RegisterGenerator.h"

#include "jet/Database.h"
#include "mdbwriter/MdbContent.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

using namespace katarix;

namespace {

int usage(const char *message)
{
    if (message && *message)
        std::fprintf(stderr, "katarix-gen: %s\n", message);
    std::fprintf(stderr,
                 "Użycie: katarix-gen --parcels N [--seed S] [--password HASŁO] PLIK.mdb|PLIK.sqlite\n"
                 "Tworzy syntetyczny rejestr gruntów, budynków i lokali o N bieżących działkach.\n");
    return 2;
}

bool parseNumber(const char *text, unsigned long long &out)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    out = std::strtoull(text, &end, 10);
    return end && *end == '\0' && text[0] != '-';
}

bool endsWith(const std::string &s, const std::string &tail)
{
    if (s.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower((unsigned char)s[s.size() - tail.size() + i]) != tail[i])
            return false;
    return true;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    registergen::GeneratorOptions options;
    bool haveParcels = false;
    std::string password, out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
        unsigned long long n = 0;
        if (arg == "--parcels") {
            if (!parseNumber(value(), n) || n < 20 || n > 2000000)
                return usage("liczba działek musi być liczbą całkowitą od 20 do 2000000");
            options.parcels = int(n);
            haveParcels = true;
        } else if (arg == "--seed") {
            if (!parseNumber(value(), n))
                return usage("ziarno musi być nieujemną liczbą całkowitą");
            options.seed = n;
        } else if (arg == "--password") {
            const char *p = value();
            if (!p)
                return usage("brak hasła po --password");
            password = p;
        } else if (arg == "-h" || arg == "--help") {
            return usage(nullptr) - 2;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage(("nieznana opcja " + arg).c_str());
        } else if (out.empty()) {
            out = arg;
        } else {
            return usage("podano więcej niż jeden plik wynikowy");
        }
    }
    if (!haveParcels || out.empty())
        return usage("wymagane są --parcels i nazwa pliku wynikowego");
    const bool mdb = endsWith(out, ".mdb");
    const bool sqlite = endsWith(out, ".sqlite") || endsWith(out, ".db");
    if (!mdb && !sqlite)
        return usage("plik wynikowy musi mieć rozszerzenie .mdb, .sqlite lub .db");
    if (sqlite && !password.empty())
        return usage("hasło można nadać tylko plikowi .mdb");

    try {
        const auto start = std::chrono::steady_clock::now();
        registergen::RegisterBuilder builder = registergen::generateRegister(options);
        const double generated = secondsSince(start);
        std::size_t rows = 0;
        for (const auto &table : builder.content().tables)
            rows += table.rows.size();

        // Write next to the target and rename, so a failed run leaves no half-written register.
        const std::filesystem::path target(out);
        std::filesystem::path partial = target;
        partial += ".part";
        std::filesystem::remove(partial);
        const auto writeStart = std::chrono::steady_clock::now();
        if (mdb) {
            mdbwriter::WriteOptions writeOptions;
            writeOptions.password = password;
            writeOptions.creationDate = 46000.5; // fixed, so that equal runs give equal files
            mdbwriter::writeJet4(builder.content(), partial.string(), writeOptions);
        } else {
            jet::Database db;
            db.open(QString::fromStdString(partial.string()), false);
            registergen::loadContent(builder.content(), db.handle());
            db.close();
        }
        std::filesystem::rename(partial, target);
        std::fprintf(stderr, "katarix-gen: %s: %d działek, %zu wierszy; generowanie %.2f s, zapis %.2f s\n",
                     out.c_str(), options.parcels, rows, generated, secondsSince(writeStart));
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "katarix-gen: nie udało się utworzyć pliku %s: %s\n", out.c_str(), e.what());
    } catch (...) {
        std::fprintf(stderr, "katarix-gen: nie udało się utworzyć pliku %s\n", out.c_str());
    }
    return 1;
}
