#pragma once
// A local calendar date and time of day, as the host's clock gives it.

namespace torvel {

struct DateTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

}  // namespace torvel
