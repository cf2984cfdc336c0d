#include "ui/logic/ListColumns.h"

namespace lsu {

int columnWidthTwips(Column column) {
    switch (column) {
        case Column::Name: return 2000;
        case Column::CommandLine: return 4000;
        case Column::Exists: return 600;
        case Column::Section: return 2500;
        case Column::Status:
        case Column::Type: return 0;
        case Column::Publisher: return 2400;
        case Column::State: break;
    }
    return 2200;
}

}  // namespace lsu
