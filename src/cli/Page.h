// What every page the command line writes needs: text made safe for HTML, and
// a file that is replaced only once the new page is whole.
#pragma once

#include <string>
#include <string_view>

namespace kz8mrp::cli {

// Text shown as text in HTML and SVG: markup characters become references and
// control characters blanks, so that no value of the database becomes markup.
std::string Escape(std::string_view text);

// A length in pixels with two decimals, as SVG attributes take it.
std::string Px(double pixels);

// Writes `content` to a new file beside `path` and renames it over `path`;
// on any failure the old file stays as it was and the new one is removed.
void WriteFileWhole(const std::string& path, std::string_view content);

}  // namespace kz8mrp::cli
