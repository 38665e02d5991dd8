#include "session/live/StreamFramer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "simulator/FrameEncoder.h"

using devicesim::EncodeFrameHeader;
using devicesim::FrameHeaderValues;
using session::HeaderLayout;
using session::ImageSlotInfo;
using session::StreamFramer;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kTestSlotBytes = 2000;

// A stand-in picture: JPEG start, DQT marker, filler without FF, end of image.
Bytes Picture(std::size_t size, std::uint8_t seed, std::uint8_t fourth = 0xDB) {
    Bytes p(size);
    for (std::size_t i = 0; i < size; ++i)
        p[i] = static_cast<std::uint8_t>((seed + i * 7) % 0xF0);
    p[0] = 0xFF;
    p[1] = 0xD8;
    p[2] = 0xFF;
    p[3] = fourth;
    p[size - 2] = 0xFF;
    p[size - 1] = 0xD9;
    return p;
}

struct StreamBuilder {
    HeaderLayout layout;
    Bytes bytes;
    std::vector<Bytes> pictures;  // the frames a sound framer must accept, in order

    void Frame(const FrameHeaderValues& fields, const Bytes& payload) {
        const Bytes h = EncodeFrameHeader(fields, layout);
        bytes.insert(bytes.end(), h.begin(), h.end());
        bytes.insert(bytes.end(), payload.begin(), payload.end());
    }
    void Good(std::uint8_t channel, std::size_t size) {
        FrameHeaderValues fields;
        fields.length = static_cast<std::uint32_t>(size);
        fields.channel = channel;
        fields.streamTime = 1000u + channel;
        fields.text = "CH" + std::to_string(channel);
        pictures.push_back(Picture(size, channel));
        Frame(fields, pictures.back());
    }
    void Raw(const Bytes& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
};

// Good frames with every kind of damage between them; each damaged stretch is
// lost up to and including the next end-of-image marker, or skipped by its length.
StreamBuilder DamagedStream(HeaderLayout layout) {
    StreamBuilder s{layout, {}, {}};
    s.Good(1, 300);
    s.Frame(FrameHeaderValues{}, {});  // length 0: no frame
    s.Good(2, 1500);                 // longer than one receive
    s.Raw(Bytes(37, 0x11));          // garbage: taken for a header, lost until the next FF D9 ...
    FrameHeaderValues lost;
    lost.length = 200;
    s.Frame(lost, Picture(200, 3));  // ... which ends this frame
    s.Good(4, 64);
    {
        FrameHeaderValues oversize;
        oversize.length = kTestSlotBytes + 1;
        s.Frame(oversize, Picture(kTestSlotBytes + 1, 5));
    }
    s.Good(6, 6);  // FF D8 FF DB FF D9: the shortest picture there is
    {
        FrameHeaderValues app0;
        app0.length = 120;  // FF D8 FF E0: framed, not one of the stream's pictures
        s.Frame(app0, Picture(120, 7, 0xE0));
    }
    s.Good(8, 900);
    {
        FrameHeaderValues badStart;
        badStart.length = 50;
        Bytes p = Picture(50, 9);
        p[0] = 0x00;
        s.Frame(badStart, p);
    }
    s.Good(10, 2000);  // exactly the slot
    if (layout == HeaderLayout::New) {
        FrameHeaderValues badVersion;
        badVersion.version = 2;
        badVersion.length = 80;
        s.Frame(badVersion, Picture(80, 11));
    }
    s.Good(12, 333);
    return s;
}

struct AcceptedFrame {
    ImageSlotInfo info;
    Bytes picture;
    friend bool operator==(const AcceptedFrame&, const AcceptedFrame&) = default;
};

struct Outcome {
    std::vector<AcceptedFrame> frames;
    std::vector<ImageSlotInfo> headersSeen;
    StreamFramer::Stats stats;
    bool guardIntact = true;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// Feeds the stream in the pieces that cut() chooses, as the receive thread
// would: process everything buffered, then take the next bytes.
Outcome FeedInPieces(const StreamBuilder& s, const std::function<std::size_t(std::size_t offset)>& pieceAt) {
    Outcome out;
    StreamFramer framer({s.layout, false},
                        [&](const session::FrameHeaderFields& f) { out.headersSeen.push_back(f.record); });
    constexpr std::size_t kGuard = 64;
    Bytes area(kTestSlotBytes + kGuard, 0xEE);
    const std::span<std::uint8_t> slot(area.data(), kTestSlotBytes);
    ImageSlotInfo info;
    framer.StartFrame(slot, &info);

    std::size_t offset = 0;
    while (offset < s.bytes.size()) {
        const std::size_t piece = std::min(pieceAt(offset), s.bytes.size() - offset);
        std::size_t fed = 0;
        while (fed < piece) {
            fed += framer.Feed({s.bytes.data() + offset + fed, piece - fed});
            while (framer.Process() == StreamFramer::Result::FrameReady) {
                out.frames.push_back({info, Bytes(slot.begin(), slot.begin() + info.dwLength)});
                framer.StartFrame(slot, &info);
            }
        }
        offset += piece;
    }
    out.stats = framer.Statistics();
    out.guardIntact = std::all_of(area.begin() + kTestSlotBytes, area.end(), [](auto b) { return b == 0xEE; });
    return out;
}

void ExpectSoundOutcome(const StreamBuilder& s, const Outcome& o) {
    ASSERT_EQ(o.frames.size(), s.pictures.size());
    for (std::size_t i = 0; i < o.frames.size(); ++i) {
        EXPECT_EQ(o.frames[i].picture, s.pictures[i]) << "frame " << i;
        EXPECT_EQ(o.frames[i].info.dwLength, s.pictures[i].size());
    }
    EXPECT_EQ(o.frames[0].info.dwFrameTime, 5005u);
    EXPECT_EQ(std::string(o.frames[1].info.szText), "CH2");
    EXPECT_TRUE(o.guardIntact);
    const bool isNew = s.layout == HeaderLayout::New;
    EXPECT_EQ(o.stats.accepted, s.pictures.size());
    EXPECT_EQ(o.stats.emptyHeaders, 1u);
    // The garbage is a bad version to the new layout, a giant length to the old one.
    EXPECT_EQ(o.stats.droppedOversize, isNew ? 1u : 2u);
    EXPECT_EQ(o.stats.badHeaders, isNew ? 2u : 0u);
    EXPECT_EQ(o.stats.droppedNotJpeg, 1u);
    EXPECT_EQ(o.stats.droppedBadStart, 1u);
    EXPECT_EQ(o.stats.resyncs, isNew ? 4u : 3u);
}

class StreamFramerSplits : public testing::TestWithParam<HeaderLayout> {};

}  // namespace

TEST_P(StreamFramerSplits, SameFramesWholeBytewiseAndSplitAnywhere) {
    const StreamBuilder s = DamagedStream(GetParam());
    const Outcome whole = FeedInPieces(s, [&](std::size_t) { return s.bytes.size(); });
    ExpectSoundOutcome(s, whole);

    EXPECT_EQ(FeedInPieces(s, [](std::size_t) { return 1; }), whole) << "one-byte pieces";
    for (std::size_t cut = 1; cut < s.bytes.size(); ++cut) {
        const Outcome split = FeedInPieces(s, [&](std::size_t offset) { return offset < cut ? cut - offset : s.bytes.size(); });
        ASSERT_EQ(split, whole) << "split at " << cut;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        const Outcome o = FeedInPieces(s, [&](std::size_t) { return 1 + random() % 1500; });
        ASSERT_EQ(o, whole) << "random pieces, round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, StreamFramerSplits,
                         testing::Values(HeaderLayout::New, HeaderLayout::Old),
                         [](const auto& info) { return info.param == HeaderLayout::New ? "New" : "Old"; });

TEST(StreamFramer, OldHeaderGiantLengthIsDroppedWithoutTouchingTheSlot) {
    StreamBuilder s{HeaderLayout::Old, {}, {}};
    FrameHeaderValues giant;
    giant.length = 0xFFFFFFF0u;
    s.Frame(giant, Picture(3000, 1));
    s.Good(2, 10);
    const Outcome o = FeedInPieces(s, [](std::size_t) { return 700; });
    EXPECT_TRUE(o.guardIntact);
    ASSERT_EQ(o.frames.size(), 1u);
    EXPECT_EQ(o.frames[0].picture, s.pictures[0]);
    EXPECT_EQ(o.stats.droppedOversize, 1u);
}

TEST(StreamFramer, HeaderWaitsForASlotAndStatesFollowTheFrame) {
    StreamBuilder s{HeaderLayout::New, {}, {}};
    s.Good(1, 500);
    int headers = 0;
    StreamFramer framer({HeaderLayout::New, false}, [&](const auto&) { ++headers; });
    Bytes slot(kTestSlotBytes);
    ImageSlotInfo info;

    framer.Feed({s.bytes.data(), 100});
    EXPECT_EQ(framer.Process(), StreamFramer::Result::NoSlot);
    EXPECT_EQ(headers, 0);  // nothing is judged before a slot can take the frame

    framer.StartFrame(slot, &info);
    EXPECT_EQ(framer.Process(), StreamFramer::Result::NeedMore);
    EXPECT_EQ(framer.CurrentState(), StreamFramer::State::Payload);
    EXPECT_EQ(headers, 1);

    framer.Feed({s.bytes.data() + 100, s.bytes.size() - 100});
    EXPECT_EQ(framer.Process(), StreamFramer::Result::FrameReady);
    EXPECT_EQ(framer.CurrentState(), StreamFramer::State::Header);
    EXPECT_EQ(framer.LastFrameBytes(), s.bytes.size());
    EXPECT_EQ(framer.Buffered(), 0u);
}

TEST(StreamFramer, ThePicturesRestIsReceivedStraightIntoTheSlotAndNoFurther) {
    StreamBuilder s{HeaderLayout::New, {}, {}};
    s.Good(1, 1900);
    s.Good(2, 40);
    StreamFramer framer({HeaderLayout::New, false});
    Bytes slot(kTestSlotBytes);
    ImageSlotInfo info;
    framer.StartFrame(slot, &info);
    const std::size_t first = framer.Feed({s.bytes.data(), 100});
    ASSERT_EQ(framer.Process(), StreamFramer::Result::NeedMore);
    ASSERT_EQ(framer.CurrentState(), StreamFramer::State::Payload);
    const std::size_t pictureSoFar = first - (s.bytes.size() - s.pictures[0].size() - s.pictures[1].size()) / 2;

    // More than one chunk: the whole rest of the picture, in the slot.
    const auto area = framer.ReceiveArea();
    EXPECT_EQ(area.data(), slot.data() + pictureSoFar);
    ASSERT_EQ(area.size(), 1900 - pictureSoFar);
    std::memcpy(area.data(), s.bytes.data() + first, area.size());
    framer.Commit(area.size());
    ASSERT_EQ(framer.Process(), StreamFramer::Result::FrameReady);
    EXPECT_EQ(Bytes(slot.begin(), slot.begin() + info.dwLength), s.pictures[0]);

    // The next header goes through the framer's own buffer again.
    const auto next = framer.ReceiveArea();
    EXPECT_EQ(next.size(), StreamFramer::kChunkBytes);
    EXPECT_TRUE(next.data() < slot.data() || next.data() >= slot.data() + slot.size());
}

TEST(StreamFramer, EndMarkerSplitAcrossReceivesIsFound) {
    StreamBuilder s{HeaderLayout::New, {}, {}};
    s.Raw({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF});  // bad version, then the FF of FF D9
    s.Raw({0xD9});
    s.Good(3, 40);
    const Outcome o = FeedInPieces(s, [](std::size_t offset) { return offset < 9 ? 9 : 1000; });
    ASSERT_EQ(o.frames.size(), 1u);
    EXPECT_EQ(o.stats.resyncs, 1u);
    EXPECT_EQ(o.stats.discardedBytes, 10u);
}

TEST(StreamFramer, RecognisesOnlyTheStreamsJpegStart) {
    const Bytes start = {0xFF, 0xD8, 0xFF, 0xDB};
    EXPECT_TRUE(session::IsJpegFrameStart(start));
    EXPECT_FALSE(session::IsJpegFrameStart(Bytes{0xFF, 0xD8, 0xFF, 0xE0}));
    EXPECT_FALSE(session::IsJpegFrameStart(std::span(start).first(3)));
}
