// pelbrook-tool: batch work on sprite files with the editor's own code.

#include <algorithm>
#include <cstring>
#include <exception>
#include <iostream>

#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"
#include "tools/unitToolCommands.h"

namespace {

struct TSubcommand {
  const char* Name;
  int (*Run)(const TToolArgs&);
  const char* Usage;
  const char* Help;
};

const TSubcommand Subcommands[] = {
    {"info", RunInfo, "info FILE [--from s16|spr] [--keep-going]",
     "Prints the format (\"s16 5-6-5\", \"s16 5-5-5\" or \"spr\"), the sprite count, then one\n"
     "line per sprite: index, width, height."},
    {"convert", RunConvert,
     "convert IN OUT [--from s16|spr] [--to s16-565|s16-555|spr] [--keep-going]",
     "Reads IN (as .spr when its name ends in .spr, unless --from says otherwise) and writes\n"
     "OUT in --to, by default spr for a name ending in .spr and s16-565 otherwise."},
    {"export", RunExport,
     "export IN INDEX OUT.bmp|OUT.png [--depth 24|16|8|png] [--from s16|spr] [--keep-going]",
     "Writes sprite INDEX (from 0) of IN as a BMP file of the given depth (default 24; 8 bits\n"
     "use the Tamblings 1 palette), or as a PNG when OUT ends in .png: the 24-bit colours,\n"
     "black transparent. Black stays black; no other colour becomes black."},
    {"export-all", RunExportAll,
     "export-all IN FOLDER [--depth 24|16|8|png] [--from s16|spr] [--keep-going]",
     "Writes every sprite of IN as FOLDER/NNNN.bmp (or .png with --depth png), numbered from\n"
     "0000, as export does; FOLDER is made when it does not exist."},
    {"import", RunImport, "import OUT IN.bmp|IN.png... [--to s16-565|s16-555|spr]",
     "Makes OUT holding the BMP and PNG files as sprites in the given order; a PNG pixel less\n"
     "than half opaque becomes black. OUT's format is chosen as for convert."},
    {"expand", RunExpand,
     "expand IN INDEX OUT [--from s16|spr] [--to s16-565|s16-555|spr] [--keep-going]",
     "Expand Sprite on sprite INDEX of IN, as the editor does after \"Yes\" to its warnings:\n"
     "the sprites found on the composite's background take its place, in the order found,\n"
     "and OUT (its format chosen as for convert) holds the whole document so changed. Prints\n"
     "the status text of each cut, which names the pass and the box (Left,Top - Right,Bottom)."},
    {"grid", RunGrid,
     "grid IN INDEX OUT --cell WxH [--margin M] [--spacing S] [--keep-empty] [--from s16|spr] "
     "[--to s16-565|s16-555|spr] [--keep-going]",
     "Cut by Grid on sprite INDEX of IN: its cells of W x H pixels, the first M pixels from\n"
     "the left and top edges (default 0) and S pixels apart (default 0), take its place in\n"
     "row order, and OUT (its format chosen as for convert) holds the whole document so\n"
     "changed. Cells that do not fit whole at the right or bottom edge are left out, and so\n"
     "are cells entirely black unless --keep-empty. Prints how many sprites were made."},
    {"resample", RunResample,
     "resample IN.bmp OUT.bmp|OUT.png WIDTH HEIGHT "
     "[--filter box|triangle|hermite|bell|b-spline|lanczos3|mitchell]",
     "Scales IN.bmp to WIDTH x HEIGHT with the filter (default triangle) and writes OUT.bmp\n"
     "with 24 bits, or OUT.png with black transparent. A side of 1 from a longer one cannot be\n"
     "scaled."},
    {"thumbnail", RunThumbnail,
     "thumbnail IN INDEX OUT.bmp|OUT.png [--size 25|50|75|100] [--better] [--square] "
     "[--from s16|spr] [--keep-going]",
     "Writes the editor's thumbnail of sprite INDEX as a 24-bit BMP, or a PNG with black\n"
     "transparent, of SIZE x SIZE (default 25): scaled with Box, or Triangle with --better,\n"
     "keeping the aspect ratio unless --square, in the top-left corner on black."},
    {"pack", RunPack,
     "pack IN OUT.png [--json OUT.json] [--array] [--padding N] [--pot] [--from A --to B] "
     "[--packing rows|max-rects] [--trim] [--names PATTERN] [--keep-going]",
     "Writes sprites A to B of IN (by default all) onto one sheet OUT.png, black transparent,\n"
     "and its JSON atlas, as game engines load them, to OUT.json (or --json): the hash form,\n"
     "or the array form with --array. --packing rows (the default) places the sprites in\n"
     "their order in rows; max-rects packs them tighter. --padding puts 0 to 16 pixels between\n"
     "sprites, --pot makes the sheet's sides powers of two, --trim leaves out each sprite's\n"
     "black border. Frames are named by sprite index, 0000 on, or by PATTERN, in which {n} is\n"
     "the index and {n:4} the index in four digits."},
    {"unpack", RunUnpack, "unpack SHEET.png ATLAS.json OUT [--to s16-565|s16-555|spr]",
     "Makes OUT of the frames of ATLAS.json (either form) cut from SHEET.png, in the atlas's\n"
     "order; trimmed frames get their black border back. OUT's format is chosen as for\n"
     "convert."},
    {"preview", RunPreview, "preview IN OUT.png [--size N] [--from s16|spr]",
     "Writes a PNG of at most N x N (8 to 2048, default 128), black transparent, as file\n"
     "managers show sprite files: a file of one sprite shows it scaled to N on its longer\n"
     "side; a file of several shows its first ones, up to 9, in a grid of up to 3 x 3. Only\n"
     "those sprites are read; together they may hold 16 Mi pixels (the sprites past that are\n"
     "left out, and a first sprite larger is refused). Any failure leaves no OUT."},
};

bool IsHelp(const char* Word) {
  return std::strcmp(Word, "--help") == 0 || std::strcmp(Word, "-h") == 0;
}

void PrintHelp(std::ostream& Out) {
  Out << "pelbrook-tool: batch work on Tamblings sprite files (.s16, .spr)\n\n"
         "usage: pelbrook-tool SUBCOMMAND ARGUMENTS...\n"
         "       pelbrook-tool SUBCOMMAND --help\n"
         "       pelbrook-tool --help | --version\n\n";
  for (const TSubcommand& Command : Subcommands)
    Out << "  pelbrook-tool " << Command.Usage << "\n" << Command.Help << "\n\n";
  Out << "An output's extension chooses its format (.s16, .spr, .bmp or .png, in any case); an\n"
         "option that names another format, or an extension the subcommand does not write, is\n"
         "an error.\n\n"
         "An .spr file with sprites that cannot be read, or a sprite file with more or fewer\n"
         "bytes than its directory names, is an error; with --keep-going those sprites are left\n"
         "out (the ones after them move up), what could be read is used, and a line on stderr\n"
         "says so.\n\n"
         "Exit status 0 on success; otherwise non-zero, with the error's message on stderr.\n";
}

}  // namespace

int main(int argc, char** argv) {
  IgnoreFileSizeSignal();
  if (argc < 2 || IsHelp(argv[1])) {
    PrintHelp(argc < 2 ? std::cerr : std::cout);
    return argc < 2 ? 2 : 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::cout << ToolName << ' ' << PELBROOK_VERSION << '\n';
    return 0;
  }
  for (const TSubcommand& Command : Subcommands) {
    if (std::strcmp(argv[1], Command.Name) != 0) continue;
    if (std::any_of(argv + 2, argv + argc, IsHelp)) {
      std::cout << "usage: pelbrook-tool " << Command.Usage << '\n' << Command.Help << '\n';
      return 0;
    }
    try {
      return Command.Run(TToolArgs(argv + 2, argv + argc));
    } catch (const EToolUsage& Error) {
      std::cerr << ToolName << ": " << Command.Name << ": " << Error.what()
                << "\nusage: pelbrook-tool " << Command.Usage << '\n';
      return 2;
    } catch (const std::exception& Error) {
      std::cerr << ToolName << ": " << ErrorMessageWithReason(Error) << '\n';
      return 1;
    }
  }
  std::cerr << ToolName << ": unknown subcommand \"" << argv[1] << "\" (see --help)\n";
  return 2;
}
