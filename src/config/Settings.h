#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kesmaro {

struct CaptureRect {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    friend bool operator==(const CaptureRect&, const CaptureRect&) = default;
};

struct GlyphSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    friend bool operator==(const GlyphSize&, const GlyphSize&) = default;
};

// Recognition categories; also the capture area normally read with each.
enum Category : int { CategoryLevel = 0, CategoryExp = 1, CategoryMoney = 2 };
constexpr int kCategoryCount = 3;
constexpr int kGlyphCount = 11; // digits 0-9, then the delimiter
constexpr int kDelimiterGlyph = 10;
constexpr int kCaptureAreaCount = 5;

// Every configured value of the program. Values read from the settings file are taken as
// they come: whoever uses a value guards against the ones that would crash or hang.
struct Settings {
    std::array<CaptureRect, kCaptureAreaCount> CaptureArea{};

    std::array<std::int32_t, kCategoryCount> BinaryThreshold{};
    std::array<std::int32_t, kCategoryCount> BinaryMask{};
    std::array<GlyphSize, kCategoryCount> PatternSize{};
    std::array<std::array<std::string, kGlyphCount>, kCategoryCount> PatternString{};

    bool AutoStart = false;
    std::int32_t CaptureInterval = 0; // minutes
    std::int32_t BeepMode = 0;
    std::string SaveFolder;
    std::string SaveFile;
    bool SaveCsv = false;
    bool MonthlyAppend = false;
    std::int32_t LagCancelTime = 0; // milliseconds
    std::int32_t StartDelay = 0;    // seconds
    std::array<bool, 2> StartUp{};
    std::array<std::string, 2> StartUpPath{};
    std::int32_t StartUpDelay = 0; // seconds
    bool DoHLCheckExec = false;
    std::int32_t DoHLInterval = 0; // milliseconds
    std::string SaveFormat;
    bool GestureEnabled = false;
    std::int32_t GestureTime = 0; // milliseconds
    bool GraphEnabled = false;
    std::int32_t GraphTimeScale = 0; // samples
    std::int32_t GraphAveNum = 0;    // samples
    bool WindowMemory = false;
    CaptureRect WindowPosition{};
    bool DualDisplay = false;
    std::int32_t DisplayOffsetX = 0;
    std::int32_t DisplayOffsetY = 0;
    std::string SearchWindowClass;
};

// Bounds (minimum, maximum, step) that the options window offers for a number.
struct Bounds {
    std::int32_t min;
    std::int32_t max;
    std::int32_t step;
};

namespace bounds {
constexpr Bounds CaptureInterval{1, 1440, 5};
constexpr Bounds LagCancelTime{0, 100, 10};
constexpr Bounds StartDelay{0, 300, 5};
constexpr Bounds StartUpDelay{0, 300, 5};
constexpr Bounds DoHLInterval{100, 2000, 100};
constexpr Bounds GestureTime{100, 1000, 50};
constexpr Bounds GraphTimeScale{10, 250, 10};
constexpr Bounds GraphAveNum{2, 20, 1};
constexpr Bounds WindowX{-2048, 4096, 8};
constexpr Bounds WindowY{-2048, 4096, 8};
constexpr Bounds WindowWidth{710, 2048, 8};
constexpr Bounds WindowHeight{300, 2048, 8};
constexpr Bounds DisplayOffset{-2048, 2048, 8};
constexpr Bounds AreaWidth{4, 300, 1};
constexpr Bounds AreaHeight{4, 16, 1};
} // namespace bounds

// Identity texts, never stored in the settings file.
inline const std::string kProgramVersion = "Ver.2.30b2";
inline const std::string kProgramTitle = "Kesmaro  for  Dragonica    " + kProgramVersion;
inline const std::string kDefaultWindowClass = "Gamebryo Application";

struct ScreenSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::string Name;
    std::string Text;
};
constexpr int kScreenSizeCount = 14;
using ScreenSizeList = std::array<ScreenSize, kScreenSizeCount>;

// The screen sizes the options window offers, parsed from their 20-character texts.
ScreenSizeList BuildScreenSizeList();

} // namespace kesmaro
