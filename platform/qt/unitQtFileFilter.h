#pragma once
// File dialog filters as Qt takes them: "desc|pattern|desc|pattern" becomes one name filter a
// pair, "desc (pattern)".

#include <QStringList>
#include <string>

// The descriptions stay as written; a description that does not show its pattern in
// parentheses gets it appended, with ';' between patterns turned into the blank Qt expects.
// Every pair gives its own entry, so a filter's position is its index.
QStringList NameFiltersFromFilter(const std::string& Filter);
