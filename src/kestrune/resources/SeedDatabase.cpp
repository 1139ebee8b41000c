// Build tool: runs SQL files, in order, into a fresh SQLite database file.
//
//   kestrune_seeddb <schema.sql> [<rows.sql> ...] <output.sqlite>
//
// The output is written beside its final name and moved into place only when every
// statement ran, so a failed build never leaves a half-made seed behind.

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::cerr << "usage: kestrune_seeddb <schema.sql> [<rows.sql> ...] <output.sqlite>\n";
        return 2;
    }
    std::string schema;
    for (int i = 1; i < argc - 1; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << "kestrune_seeddb: cannot read " << argv[i] << "\n";
            return 1;
        }
        std::stringstream text;
        text << in.rdbuf();
        schema += text.str() + "\n";
    }

    const std::string output = argv[argc - 1];
    const std::string partial = output + ".partial";
    std::remove(partial.c_str());

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(partial.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::cerr << "kestrune_seeddb: cannot create " << partial << ": "
                  << (db ? sqlite3_errmsg(db) : "out of memory") << "\n";
        sqlite3_close_v2(db);
        return 1;
    }
    char *error = nullptr;
    const std::string script = "BEGIN;\n" + schema + "\nCOMMIT;\n";
    const int rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::cerr << "kestrune_seeddb: " << (error ? error : "error") << "\n";
        sqlite3_free(error);
        sqlite3_close_v2(db);
        std::remove(partial.c_str());
        return 1;
    }
    if (sqlite3_close_v2(db) != SQLITE_OK) {
        std::cerr << "kestrune_seeddb: cannot close " << partial << "\n";
        return 1;
    }
    if (std::rename(partial.c_str(), output.c_str()) != 0) {
        std::cerr << "kestrune_seeddb: cannot move the seed to " << output << "\n";
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
