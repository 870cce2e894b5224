#pragma once
// Where things are in the grids of the timetable, the topic plan and the
// calendar, beside GradeGeometry for the grade book.
#include "workspace/cellgrid.h"

namespace vekla {

// The timetable: column 1 holds the captions (the class name, lesson times,
// day names), columns 2 to the last one lesson each. Rows 1 to 3 are the
// lesson header (number, start, end); each of the five days takes four rows
// from row 4: subject, class, room and the name of the block.
class TimetableGeometry {
 public:
  static constexpr int kCaptionCol = 1;
  static constexpr int kFirstLessonCol = 2;
  static constexpr int kLessonRow = 1;
  static constexpr int kStartRow = 2;
  static constexpr int kEndRow = 3;
  static constexpr int kFirstDayRow = 4;
  static constexpr int kRowsPerDay = 4;
  static constexpr int kDays = 5;
  // The rows of a day block, from its first row.
  static constexpr int kSubject = 0;
  static constexpr int kClass = 1;
  static constexpr int kRoom = 2;
  static constexpr int kName = 3;

  explicit TimetableGeometry(const CellGrid& g) : cols_(g.colCount()) {}

  int lastLessonCol() const { return cols_ - 1; }
  int lessons() const { return cols_ - kFirstLessonCol; }
  // The first row of day d (0 = Monday to 4 = Friday).
  static int dayRow(int d) { return kFirstDayRow + kRowsPerDay * d; }

 private:
  int cols_;
};

// The columns of the topic plan.
struct TopicColumns {
  static constexpr int kOrder = 1;  // "Pořadí"
  static constexpr int kTopic = 2;  // "Téma"
  static constexpr int kDate = 3;   // "Datum"
  static constexpr int kNote = 4;   // "Poznámka"
  static constexpr int kFrom = 5;   // "Od"
  static constexpr int kTo = 6;     // "Do"
  static constexpr int kTotal = 7;  // "Celkem"
  static constexpr int kDone = 8;   // "Hotovo"
};

// The calendar: one row per day of a leap year from row 1, its label
// ("d.m") in column 0 and its text in column 1.
struct CalendarColumns {
  static constexpr int kLabel = 0;
  static constexpr int kText = 1;
};

}  // namespace vekla
