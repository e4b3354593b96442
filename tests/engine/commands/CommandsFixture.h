#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "BingoHelpers.h"
#include "ControlIds.h"
#include "GameCommands.h"
#include "GameRules.h"
#include "Printers.h"
#include "ProgramState.h"
#include "Random.h"
#include "RecordingWindow.h"
#include "Settings.h"
#include "StateFile.h"
#include "TestFolders.h"

namespace zorvi::test {

// One game wired as the operator window wires it: real settings record, real state saved to
// "state.ini" in a temporary data folder, a seeded generator, a coupon series built from the
// draw sequence, and a recording window.
class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() {
        settings.language = 2;
        state.AttachSettings(settings);
        state.AttachSaver([this](const ProgramState& s) {
            ++saves;
            StateFile::SaveState(s);
        });
        coupons.AttachSettings(settings);
    }

    // A new game of n numbers with the fixture series; the record starts empty.
    void StartGame(int n) {
        settings.max_called_numbers = n;
        commands.BeginNewGame();
        UseFixtureSeries();
        window.Clear();
        saves = 0;
    }

    int Size() const { return GameRules::CouponSize(settings.max_called_numbers); }
    int Seq(int i) const { return state.randomizer_numbers.at(static_cast<std::size_t>(i)); }

    // Coupon 1 holds the first n numbers of the draw sequence row by row, so it completes its
    // row r with draw 5r and so wins every row of the game in turn. Coupon 2 holds the last n
    // numbers of the sequence and wins nothing until late.
    void UseFixtureSeries() {
        const int n = Size();
        const int count = static_cast<int>(state.randomizer_numbers.size());
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < n; ++i)
            bytes.push_back(static_cast<std::uint8_t>(Seq(i)));
        for (int i = count - n; i < count; ++i)
            bytes.push_back(static_cast<std::uint8_t>(Seq(i)));
        coupons.SetSeriesBytes(std::move(bytes), static_cast<std::uint32_t>(n));
    }

    // The Draw button pressed once and its one-second lock run out.
    void Draw() {
        commands.DrawCommand();
        commands.OnDrawLockTick();
    }
    void DrawTimes(int times) {
        for (int i = 0; i < times; ++i)
            Draw();
    }

    void Check(long long coupon) {
        window.couponNumber = coupon;
        commands.CheckCommand();
    }

    // "state.ini" read into a fresh state.
    ProgramState Stored() {
        ProgramState loaded(otherRandom);
        loaded.AttachSettings(settings);
        EXPECT_EQ(StateFile::LoadState(loaded), 1);
        return loaded;
    }

    // "state.ini" holds the game in memory.
    void ExpectStoredEqualsMemory() { EXPECT_EQ(Stored(), state); }

    // Each event occurs in the record, after the one before it.
    void ExpectInOrder(const std::vector<std::string>& expected) const {
        const auto& events = window.events();
        auto from = events.begin();
        for (const auto& event : expected) {
            const auto it = std::find(from, events.end(), event);
            ASSERT_NE(it, events.end()) << "missing in order: " << event;
            from = it + 1;
        }
    }

    static std::string UpdateMain(int number, int count, int row) {
        return "page updateMainScreen " + std::to_string(number) + "," + std::to_string(count) +
               "," + std::to_string(row);
    }

    TestFolders folders;
    Settings settings{Settings::NoLoad{}};
    Random15 random{1};
    Random15 otherRandom{2};
    ProgramState state{random};
    BingoHelpers coupons;
    RecordingWindow window;
    GameCommands commands{state, settings, coupons, window, window, window};
    int saves = 0;
};

} // namespace zorvi::test
