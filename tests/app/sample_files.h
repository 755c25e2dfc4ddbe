// The smallest complete files of each converted format, as converters end them,
// and a shell function for stand-in converters that writes one.
#pragma once

#include <string>

namespace kib::test {

// A PDF whose startxref points at its cross-reference table.
inline const std::string kCompletePdf = "%PDF-1.5\n"
                                        "1 0 obj\n<< /Type /Catalog >>\nendobj\n"
                                        "xref\n0 2\n0000000000 65535 f \n0000000009 00000 n \n"
                                        "trailer\n<< /Size 2 /Root 1 0 R >>\n"
                                        "startxref\n45\n%%EOF\n";
inline const std::string kCompletePng = std::string("\x89PNG\r\n\x1a\n", 8) +
                                        std::string("\0\0\0\x0dIHDR", 8) + std::string(17, 'x') +
                                        std::string("\0\0\0\0IEND\xae\x42\x60\x82", 12);
inline const std::string kCompletePs = "%!PS-Adobe-3.0\n%%Pages: 1\nshowpage\n%%Trailer\n%%EOF\n";
inline const std::string kCompleteEps =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\nshowpage\n%%Trailer\nend\n%%EOF\n";

// A /bin/sh function `complete FILE` that writes the complete sample of the
// file's extension; appended to a stand-in converter's script.
inline const std::string kWriteCompleteFile =
    "complete() {\n"
    "  case \"$1\" in\n"
    "    *.png) printf '\\211PNG\\r\\n\\032\\n\\0\\0\\0\\015IHDRxxxxxxxxxxxxxxxxx"
    "\\0\\0\\0\\0IEND\\256B`\\202' ;;\n"
    "    *.ps|*.eps) printf '%%!PS-Adobe-3.0\\nshowpage\\n%%%%EOF\\n' ;;\n"
    "    *) printf '%%PDF-1.5\\nxref\\n0 1\\n0000000000 65535 f \\ntrailer\\n<<>>\\n"
    "startxref\\n9\\n%%%%EOF\\n' ;;\n"
    "  esac > \"$1\"\n"
    "}\n";

} // namespace kib::test
