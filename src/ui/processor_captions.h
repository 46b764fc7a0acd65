#pragma once

#include <string>

namespace tarvik {

// The Processors tab's notice when the power or the performance-counter library is missing;
// empty when both are there.
[[nodiscard]] std::wstring ProcessorLibraryNotice(bool powerLibraryPresent,
                                                  bool counterLibraryPresent);

// Processor graphs take one sample per 2.5 s and span their width less two columns: the whole
// seconds a graph this many pixels wide covers.
[[nodiscard]] int ProcessorGraphSeconds(int graphWidth);

// The caption over the processor graphs: the span they cover in seconds and in minutes.
[[nodiscard]] std::wstring ProcessorTimeSpanCaption(int graphWidth);

}  // namespace tarvik
