// The fuzz targets: each takes one input as the readers get it from a file and
// aborts when a property fails. libFuzzer drives them (fuzz_*.cpp, built with
// clang and -DKIB_FUZZ=ON); test_fuzz runs the kept inputs through them in every
// build.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kib::fuzz {

// The configuration reader. Property: a file that opens, saved and read back,
// gives the same value to every item (and saving that again gives the same bytes).
int FuzzConfig(const std::uint8_t* data, std::size_t size);

// The map reader followed by the analyses a Make run does (statistics read for
// task 0; description table, chair, flags, viewing angle and circles for task 1).
int FuzzMap(const std::uint8_t* data, std::size_t size);

// The courses reader: the course of stations 1 and 2, the course list with the
// map scale, and the map zoom scan over the same text.
int FuzzCourses(const std::uint8_t* data, std::size_t size);

// What the proof page reads from a station's export and makes of it: the
// answers of column H for every task (each one letter A to F or Z, or none),
// and a page whose texts and picture names come from the input. Properties:
// the page holds only its own script, and every link of it is a relative
// reference ("./...") or a fragment, whatever the names.
int FuzzProof(const std::uint8_t* data, std::size_t size);

// A sheet-shaped SVG drawn as the built-in converter and the proof pictures
// draw it. Properties: its text keeps no XInclude, taking the outside
// references out of it twice changes nothing more, and a PDF drawn from it is
// complete.
int FuzzDrawing(const std::uint8_t* data, std::size_t size);

} // namespace kib::fuzz
