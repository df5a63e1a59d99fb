#pragma once
// Shared helpers of the engine3d tests: float comparisons, fixture locations and
// builders for binary and compressed .x files.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine3d/math/d3d_types.h"
#include "engine3d/xfile/xfile_reader.h"

namespace vantrel::engine3d::test {

// Third-party .x files, absent on machines without the shared folder.
std::filesystem::path sharedXFiles();
bool haveSharedXFiles();
std::filesystem::path testData(const std::string& name);
std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);
std::vector<std::uint8_t> bytesOf(std::string_view text);

XFileEnumerator openText(std::string_view text, const std::string& name = "test.x");
// Every top-level object of a file image.
std::vector<XFileData> topLevel(std::span<const std::uint8_t> bytes, const std::string& name = "test.x");

// Writes binary .x tokens.
class BinaryXWriter {
public:
    explicit BinaryXWriter(bool doubles = false);
    BinaryXWriter& name(std::string_view n);
    BinaryXWriter& str(std::string_view s);  // terminated by ';'
    BinaryXWriter& integer(std::uint32_t v);
    BinaryXWriter& ints(const std::vector<std::uint32_t>& v);
    BinaryXWriter& floats(const std::vector<double>& v);
    BinaryXWriter& token(std::uint16_t code);
    BinaryXWriter& open() { return token(10); }
    BinaryXWriter& close() { return token(11); }
    std::vector<std::uint8_t> file() const;  // header + tokens
    std::vector<std::uint8_t> body;

private:
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    bool doubles_;
};

// A compressed file ("tzip"/"bzip") of a plain one: MSZIP blocks of blockSize
// bytes, each deflated with the previous 32 KiB as dictionary.
std::vector<std::uint8_t> compressXFile(std::span<const std::uint8_t> plain, std::size_t blockSize = 32768);

::testing::AssertionResult near(const D3DVECTOR& a, const D3DVECTOR& b, float eps = 1e-5f);
::testing::AssertionResult near(const D3DMATRIX& a, const D3DMATRIX& b, float eps = 1e-5f);
D3DMATRIX matrixOf(std::initializer_list<float> rowByRow);

}  // namespace vantrel::engine3d::test
