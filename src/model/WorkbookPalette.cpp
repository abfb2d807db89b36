// The workbook palette as data, in workbook colour order 1 to 56.
#include "model/WorkbookPalette.h"

namespace quill::model {

namespace {

constexpr Palette kPalette = {
    Rgb(0, 0, 0),       Rgb(255, 255, 255), Rgb(255, 0, 0),     Rgb(0, 255, 0),      // 1-4
    Rgb(104, 150, 206), Rgb(255, 255, 0),   Rgb(255, 0, 255),   Rgb(0, 255, 255),    // 5-8
    Rgb(128, 0, 0),     Rgb(84, 125, 146),  Rgb(184, 203, 214), Rgb(55, 82, 95),     // 9-12
    Rgb(59, 59, 59),    Rgb(0, 128, 128),   Rgb(224, 224, 224), Rgb(128, 128, 128),  // 13-16
    Rgb(153, 153, 255), Rgb(8, 132, 131),   Rgb(249, 247, 105), Rgb(204, 255, 255),  // 17-20
    Rgb(102, 0, 102),   Rgb(255, 128, 128), Rgb(0, 102, 204),   Rgb(204, 204, 255),  // 21-24
    Rgb(0, 0, 128),     Rgb(255, 0, 255),   Rgb(255, 255, 0),   Rgb(0, 255, 255),    // 25-28
    Rgb(128, 0, 128),   Rgb(128, 0, 0),     Rgb(0, 128, 128),   Rgb(0, 0, 255),      // 29-32
    Rgb(0, 204, 255),   Rgb(254, 252, 242), Rgb(234, 236, 254), Rgb(255, 231, 189),  // 33-36
    Rgb(252, 250, 242), Rgb(255, 153, 204), Rgb(224, 255, 215), Rgb(253, 247, 223),  // 37-40
    Rgb(51, 102, 255),  Rgb(51, 204, 204),  Rgb(177, 255, 209), Rgb(255, 204, 0),    // 41-44
    Rgb(255, 153, 0),   Rgb(255, 102, 0),   Rgb(251, 248, 239), Rgb(207, 207, 207),  // 45-48
    Rgb(190, 190, 190), Rgb(51, 153, 102),  Rgb(115, 158, 211), Rgb(236, 245, 215),  // 49-52
    Rgb(153, 51, 0),    Rgb(153, 51, 102),  Rgb(204, 255, 204), Rgb(51, 51, 51),     // 53-56
};

}  // namespace

const Palette& WorkbookPalette() {
    return kPalette;
}

}  // namespace quill::model
