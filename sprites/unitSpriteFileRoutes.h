#pragma once
// The routes by which documents come from and go to sprite files, shared by the editor's
// Open and Save commands and by pelbrook-tool, so both read and write the same bytes.

#include <string>

#include "sprites/unitProgress.h"
#include "sprites/unitS16Handler.h"
#include "sprites/unitSprLoader.h"

// SaveFormat values: what "Save" writes.
constexpr int SaveFormatS16_565 = 1;
constexpr int SaveFormatS16_555 = 2;
constexpr int SaveFormatSpr = 3;

// A name ending in .spr, in any case: what is opened as .spr when no filter says otherwise.
bool IsSprFileName(const std::string& Path);
// A name ending in .s16 or .spr, in any case.
bool IsSpriteFileName(const std::string& Path);

// Loads an .s16 file and holds it in 5-6-5; returns the SaveFormat of the file's layout.
int OpenS16Document(TS16File& File, const std::string& Path);
// Loads every readable sprite of an .spr file into 5-6-5 sprites; returns SaveFormatSpr.
int OpenSprDocument(TS16File& File, const std::string& Path, TSprLoader& Loader);
// Writes the document in SaveFormat; the document is in 5-6-5 again afterwards.
void SaveDocument(TS16File& File, int SaveFormat, const std::string& FileName,
                  IProgressReport& Progress);
