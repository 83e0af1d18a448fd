#pragma once
// Language text N: the single entry point through which every fixed text the installer shows
// or logs is asked for by number, in the selected language with English as fallback.
// A number without a row gives an empty text.
//
// The texts come from the process-wide language table once the start-up has opened it
// (OpenLanguageTable); until then, and in programs without the table resource, they come from
// the English column compiled into the program.
#include <memory>
#include <string>

namespace vek {

class Ilanguages;

std::string LanguageText(int aId);

// The language code of the run in the case it was given; "uk" until one is selected.
std::string CurrentLanguageCode();
// Makes aCode the language of the run and selects its column (upper-cased) in the open table.
// True when the table has a column for it; later texts come from that column.
bool SelectLanguage(const std::string& aCode);

// Makes aTable the process-wide table and selects the current language in it.
void InstallLanguageTable(std::unique_ptr<Ilanguages> aTable);
// Releases the table at the end of the run; texts are English again afterwards.
void CloseLanguageTable();

// Windows build: opens the table that the program carries as the resource "VEKLANG" and
// selects the current language in it. False when the program has no such resource or it is
// damaged; the texts then stay English.
bool OpenLanguageTable();

}  // namespace vek
