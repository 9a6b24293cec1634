#pragma once
#include <string>
#include <string_view>

// The kinds of file the calendar is written to, told apart by their extension.
enum class FormatSortie { Aucun, Bmp, Png, Pdf, Svg };

// The format named by the extension of `nom` (case ignored), Aucun for any other.
FormatSortie FormatDuNom(std::string_view nom);

// "bmp", "png", "pdf" or "svg" ("" for Aucun).
const char* ExtensionFormat(FormatSortie format);

// PDF and SVG are drawn as text and lines at a size in millimetres (and take the
// validated zone, like the print); BMP and PNG are the 628 x 866 image.
bool FormatVectoriel(FormatSortie format);

// The name written when `nom` was typed with the file type `choisi` selected:
// an extension among the four wins; any other name gets the chosen type's.
std::string NomAvecExtension(std::string_view nom, FormatSortie choisi);

// The page of a PDF: the picture plus this margin on every side.
constexpr double MargeDocumentMm = 5.0;
