#pragma once

// The numbers by which a history graph's attributes are set; any other number is ignored.
namespace tarvik::graph_attr {

inline constexpr int Maximum = 0;
inline constexpr int Smoothing = 1;
inline constexpr int Background = 2;
inline constexpr int OuterGridColour = 3;
inline constexpr int InnerGridColour = 4;
inline constexpr int LineColour = 5;
inline constexpr int TimeDivisions = 6;
inline constexpr int ValueDivisions = 7;
inline constexpr int Decimals = 8;
inline constexpr int Font = 9;
inline constexpr int HideTimeLabels = 10;
inline constexpr int HideValueLabels = 11;

}  // namespace tarvik::graph_attr
