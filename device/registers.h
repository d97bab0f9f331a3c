#pragma once

// The controller's register contract: what is read, what every word means, and the
// words written into the command mailbox. Plain functions, no I/O.

#include <QVector>
#include <cstdint>

#include "device/curvesetting.h"

namespace Registers {

constexpr int SlaveAddress = 1;

// Input registers.
constexpr int StatusStart = 0;
constexpr int StatusCount = 12;
constexpr int MachineTypeRegister = 4;
constexpr int DecimalsRegister = 5;
constexpr int CurveStart = 100;
constexpr int CurveSlots = 30;
constexpr int CurveCount = 2 + 4 * CurveSlots;  // header words + 30 point slots

// Holding registers: the command mailbox starts at 0.
constexpr int MailboxStart = 0;
constexpr int SystemSetAnswerCount = 60;
constexpr int SystemDataAnswerCount = 25;

enum Code : uint16_t {
    StartTest = 3,
    StopTest = 4,
    SystemSetRequest = 5,
    SystemSetReply = 6,
    SystemDataRequest = 7,
    SystemDataReply = 8,
    ChangeSystemSet = 9,
    Zero = 10,
    DistanceZero = 11,
    SwitchAuto = 12,
    SwitchTestMode = 13,
    MoveUp = 14,
    MoveDown = 15,
    MoveUpRecord = 16,
    MoveDownRecord = 17,
    SwitchUnit = 18,
};

enum CurveDirection : uint16_t { Forward = 1, Return = 2 };

using Words = QVector<uint16_t>;

// Floats travel as raw IEEE-754 bits, bits 0..15 in the lower-numbered register.
float decodeFloat(const uint16_t *words);
void encodeFloat(float value, uint16_t *words);

// Integers are read as unsigned 16-bit words and sent cut to their low 16 bits.
inline int decodeInt(uint16_t word) { return word; }
inline uint16_t encodeInt(int value) { return static_cast<uint16_t>(value & 0xFFFF); }

// Command images, written from holding register 0 in one write-multiple request.
Words commandWords(Code code);  // the one-word commands
Words startTestWords(const Curve_Setting &setting);
Words stopTestWords();
// Empty when a vector is shorter than the 3 floats and 2 ints the command carries.
Words changeSystemSetWords(const QVector<float> &pointSet, const QVector<int> &systemSet);
Words systemSetRequestWords(int index);
Words systemDataRequestWords(int index, int scanIndex);

struct Status
{
    QVector<float> fState;  // force (N), distance (mm)
    QVector<int> iState;    // unit code, decimals, auto flag, display mode
};
Status decodeStatus(const uint16_t *words);  // StatusCount words from register 0

struct CurvePoint
{
    int index;  // 0 forward graph, 1 return graph
    double x;   // distance, mm
    double y;   // force, N
};
struct CurveBlock
{
    bool empty;                 // point count 0 or above 30: nothing was waiting
    QVector<CurvePoint> points; // none either for an unknown direction code
    int nonFinite = 0;          // points left out: force or distance NaN or infinite
};
CurveBlock decodeCurveBlock(const uint16_t *words);  // CurveCount words from register 100

struct SystemSet
{
    QVector<float> pointSet;  // stop value (N), step distance (mm), peak-low set (N)
    QVector<int> systemSet;   // speed (mm/min), total count
};
// False when fewer words came back or register 0 does not hold the reply code.
bool decodeSystemSetAnswer(const uint16_t *words, int count, SystemSet *answer);

struct SystemData
{
    QVector<float> pointData;  // 10 floats
    QVector<int> systemData;   // 4 ints
};
bool decodeSystemDataAnswer(const uint16_t *words, int count, SystemData *answer);

} // namespace Registers
