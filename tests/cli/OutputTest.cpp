#include "cli/Output.h"
#include "cli/ProgressBar.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace qzr::cli::test {
namespace {

// A stream whose bytes the test reads back.
class MemoryStream {
public:
    MemoryStream() : FStream(::open_memstream(&FBuffer, &FSize)) {}
    ~MemoryStream()
    {
        std::fclose(FStream);
        std::free(FBuffer);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    std::FILE* Get() { return FStream; }
    std::string Text()
    {
        std::fflush(FStream);
        return std::string(FBuffer, FSize);
    }

private:
    char* FBuffer = nullptr;
    std::size_t FSize = 0;
    std::FILE* FStream;
};

struct TOutputCase {
    const char* Name;
    bool Json;
    bool Quiet;
    const char* Out;
    const char* Err;
};

void PrintTo(const TOutputCase& value, std::ostream* out)
{
    *out << value.Name;
}

class OutputModes : public ::testing::TestWithParam<TOutputCase> {};

TEST_P(OutputModes, SendEachKindOfResultWhereItsModeWantsIt)
{
    MemoryStream out;
    MemoryStream err;
    TOutput output(GetParam().Json, GetParam().Quiet, out.Get(), err.Get());
    output.Line("text");
    output.Document(QJsonObject{{"a", 1}});
    output.JsonLine(QJsonObject{{"b", 2}});
    output.Data("data\n");
    output.Note("note");
    output.Error("error");
    EXPECT_EQ(out.Text(), GetParam().Out);
    EXPECT_EQ(err.Text(), GetParam().Err);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputModes,
    ::testing::Values(TOutputCase{"Text", false, false, "text\ndata\n", "note\nerror\n"},
                      TOutputCase{"Json", true, false, "{\n    \"a\": 1\n}\n{\"b\":2}\ndata\n",
                                  "note\nerror\n"},
                      TOutputCase{"QuietText", false, true, "data\n", "error\n"},
                      TOutputCase{"QuietJson", true, true, "data\n", "error\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ProgressBarTest, RedrawsInPlaceOnlyWhenThePercentChangesAndEndsItsLine)
{
    MemoryStream stream;
    {
        TProgressBar bar(true, stream.Get());
        bar.Show(0);
        bar.Show(50);
        bar.Show(50);
        bar.Show(150);
    }
    const std::string empty(TProgressBar::Width, '-');
    const std::string half = std::string(20, '#') + std::string(20, '-');
    const std::string full(TProgressBar::Width, '#');
    EXPECT_EQ(stream.Text(),
              "\r[" + empty + "]   0 %\r[" + half + "]  50 %\r[" + full + "] 100 %\n");
}

TEST(ProgressBarTest, DrawsNothingWhenDisabled)
{
    MemoryStream stream;
    {
        TProgressBar bar(false, stream.Get());
        bar.Show(10);
        bar.Finish();
    }
    EXPECT_EQ(stream.Text(), "");
}

} // namespace
} // namespace qzr::cli::test
