#pragma once

/** The Jost Regular TrueType file, compiled in by the build. */
namespace quillane::embedded
{
extern const unsigned char jostRegular[];
extern const int jostRegularSize;
} // namespace quillane::embedded
