#pragma once
// The one place that knows the .xlsx file format: a sheet of our own
// (sheet.h) written as a workbook of one sheet, "List1".
#include <string>
#include <vector>

#include "convert/sheet.h"

namespace vekla {

// The workbook's bytes. Texts go from code page 1250 to UTF-8, colours
// from 0x00BBGGRR to red-green-blue. A value under the three-decimals
// format that is a number ("1.25") is written as that number, a "d.m."
// under the day-and-month format as that day (of a leap year, so that
// 29.2 is a day too), a whole number of up to nine digits under the general
// format as a number; every other value is a text. Throws VeklaError when
// the workbook cannot be made. A text longer than a cell of the format holds
// (32,767 characters) is cut, with one line for all of them added to `log`.
// The sheet's rows are given up as they are written, so the workbook reuses
// their memory. The numbers in the file are the same in every locale.
std::string WriteXlsx(Sheet sheet, std::vector<std::string>* log = nullptr);

}  // namespace vekla
