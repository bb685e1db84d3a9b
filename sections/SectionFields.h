#pragma once

namespace data {
class DataSet;
}

namespace sections {

// The section table's columns as the data-entry window declares them, in its order.
void declareSectionEntryFields(data::DataSet& table);

} // namespace sections
