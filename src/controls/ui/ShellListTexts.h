#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <string>

namespace vantrel {

// The size column: nothing for an empty file, "1KB" up to 999 bytes, then whole thousands of
// bytes ("2KB" for 2047).
QString SizeText(std::uint64_t bytes);

// The modified column in local time: month/day/year hour:minute, "03/07/2026 09:05".
QString ModifiedText(const QDateTime& lastWrite);

// Which files the list shows: ".MID" (filter 0) or ".STY" (filter 1) at the end of the name,
// in any letter case.
enum class ShellFilter { Midi = 0, Style = 1 };
bool PassesFilter(const QString& fileName, ShellFilter filter);

// Text bytes of a MIDI file as shown: UTF-8 when they are valid UTF-8, otherwise Latin-1, so
// every byte shows as some character.
QString DecodeMidiText(const std::string& bytes);

}  // namespace vantrel
