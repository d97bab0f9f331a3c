#pragma once

#include <QVector>
#include <QtGlobal>

#include <array>
#include <deque>
#include <random>

// The stand's mechanics and its controller's state, without I/O or threads:
// time moves only when advanceTo() is called, so tests drive it exactly.
//
// Sign convention, one for force and distance alike: the axis points down,
// the way the head moves in a push test. The distance readout grows as the
// head moves down, and compression reads positive. A pull test therefore
// runs towards negative distances with negative (tensile) forces, and an
// elastic specimen obeys F = k * (position - contact) in both modes.
class StandModel
{
public:
    enum class Motion { Idle, JogUp, JogDown, TestForward, TestReturn };
    enum class Jog { Up, Down };
    enum Mode { Push = 0, Pull = 1 };
    enum Direction : quint16 { Forward = 1, Return = 2 };
    enum class Request { None, Parameters, Data };

    // What command 3 carries. `mode` Push or Pull; `distanceMode` 0 relative
    // to where the head stands, otherwise the target on the distance readout.
    struct TestSetting {
        int mode = Push;
        int distanceMode = 0;
        int speedMmPerMin = 100;
        float distanceMm = 10.0f;
    };

    // A specimen that takes load only in the direction of its test: it
    // loads linearly up to its yield force, hardens beyond it, unloads
    // elastically (so it keeps a permanent set), and breaks at `breakMm` of
    // deformation when that is above 0.
    struct Specimen {
        double slackMm = 1.0;  // travel from a test's start position to contact
        double stiffnessNPerMm = 50.0;
        double yieldForceN = 300.0;
        double hardening = 0.05;  // slope past the yield knee, as a share of the stiffness
        double breakMm = 0.0;
    };

    // What the controller keeps for itself (set by command 9, read by request 5).
    // Stop value: a move into the specimen ends once the force, tared and in the
    // direction of that load, reaches it; a test's forward stroke then returns
    // as from its target, a jog halts. 0 or less: no stop value. Step distance:
    // how far one jog goes; 0 or less: until stop() or a limit. Speed: of jogs;
    // a test runs both ways at the speed its start command carries. Peak low
    // and the total count are only kept. A bare model stops at no force.
    struct StoredParameters {
        std::array<float, 3> pointSet{0.0f, 0.0f, 5.0f};  // stop value N, step distance mm, peak low N
        std::array<quint16, 2> systemSet{100, 0};         // speed mm/min, total count
    };

    struct StoredData {
        std::array<quint16, 4> systemData{};
        std::array<float, 10> pointData{};
    };

    struct Point {
        quint16 direction;
        float force;     // N
        float distance;  // mm, on the readout
    };

    static constexpr double MinPositionMm = -50.0;
    static constexpr double MaxPositionMm = 650.0;
    static constexpr int MinSpeedMmPerMin = 1;
    static constexpr int MaxSpeedMmPerMin = 1000;
    static constexpr int DefaultSampleRateHz = 50;
    static constexpr int MaxSampleRateHz = 10000;
    static constexpr int DefaultQueueLimit = 1000000;
    static constexpr int DefaultProcessingDelayMs = 50;
    static constexpr int BlockPoints = 30;

    explicit StandModel(quint32 seed = 1);

    // A specimen for a stand of rated force `typeNumber` N: it yields at 60 %
    // of the rating 6 mm after contact.
    static Specimen specimenFor(int typeNumber);
    // What a stand of rated force `typeNumber` N keeps from the factory: it
    // stops at 90 % of its rating, so a test never overloads its load cell.
    static StoredParameters parametersFor(int typeNumber);

    // Stand time in ms since construction. Never goes back: an earlier time
    // is ignored.
    qint64 now() const { return m_nowUs / 1000; }
    void advanceTo(qint64 ms);
    void advance(qint64 ms) { advanceTo(now() + ms); }

    // Commands. Speeds are clamped to MinSpeedMmPerMin..MaxSpeedMmPerMin.
    // A test first mounts a fresh specimen, `slackMm` beyond the head in the
    // stroke's direction, and replaces any points still queued. The stroke
    // ends at a travel limit if its target lies beyond one; then the head
    // stays there, as a limit switch would leave it.
    void startTest(const TestSetting &setting);
    void stop();
    // Jogs run at the stored speed for the stored step distance, or until
    // stop() or a limit when that is 0. Recording jogs
    // replace queued points and sample like a test: moving the way the last
    // test's forward stroke went is direction Forward, the other way Return.
    void jog(Jog jog, bool record);
    void zeroForce();
    void zeroDistance();
    void switchUnit();  // N -> kg -> lb -> N
    void switchAuto();
    void switchDisplayMode();  // real time <-> peak; entering peak starts a new peak

    // Requests with an answer: answer() is the request once processing
    // delay ms have passed since it came, None before. A new request
    // replaces the one pending or answered.
    void request(Request request);
    Request answer() const;
    void setProcessingDelay(int ms) { m_processingDelayMs = qMax(0, ms); }

    StoredParameters storedParameters() const { return m_parameters; }
    void setStoredParameters(const StoredParameters &parameters) { m_parameters = parameters; }
    StoredData storedData() const { return m_data; }
    void setStoredData(const StoredData &data) { m_data = data; }

    // Status. shownForce() is what the status block carries: the live force,
    // or in peak mode the force of largest magnitude since the peak was reset
    // (by Zero, entering peak mode or a test start).
    float shownForce() const { return m_displayMode == 1 ? m_peakN : liveForce(); }
    float liveForce() const { return float(rawForce() + m_noiseN - m_forceOffsetN); }
    float distance() const { return float(m_positionMm - m_distanceOffsetMm); }
    float forceOffset() const { return float(m_forceOffsetN); }
    double position() const { return m_positionMm; }
    Motion motion() const { return m_motion; }
    int unit() const { return m_unit; }
    bool autoMode() const { return m_auto; }
    int displayMode() const { return m_displayMode; }
    int typeNumber() const { return m_typeNumber; }
    void setTypeNumber(int typeNumber) { m_typeNumber = typeNumber; }
    int decimals() const { return m_decimals; }
    void setDecimals(int decimals) { m_decimals = decimals; }

    void setSpecimen(const Specimen &specimen) { m_specimen = specimen; }
    // Standard deviation of the force noise in N; 0 turns it off.
    void setNoise(double sigmaN) { m_noiseSigmaN = qMax(0.0, sigmaN); }
    // Clamped to 1..MaxSampleRateHz; takes effect at the next recording.
    void setSampleRate(int hz) { m_sampleRateHz = qBound(1, hz, MaxSampleRateHz); }

    // Up to min(max, BlockPoints) of the oldest queued points, all of the
    // same direction: a block ends where the direction changes.
    QVector<Point> takeBlock(int max = BlockPoints);
    int queuedPoints() const { return int(m_queue.size()); }
    // Beyond the limit the oldest points are dropped, so a master that never
    // reads cannot exhaust memory.
    void setQueueLimit(int points) { m_queueLimit = qMax(1, points); }
    qint64 droppedPoints() const { return m_dropped; }

private:
    // One move at constant speed; the position is computed from its start,
    // so it lands on the end exactly at arrivalUs whatever the step size.
    struct Stroke {
        qint64 startUs = 0;
        double startMm = 0.0;
        double endMm = 0.0;
        qint64 arrivalUs = 0;
        bool endsAtLimit = false;
    };

    void beginStroke(Motion motion, double targetMm, int speedMmPerMin);
    double strokePosition(qint64 us) const;
    void step();
    void finishStroke();
    bool reachedStopValue() const;
    void startRecording();
    qint64 nextSampleUs() const;
    void queuePoint();
    void mountSpecimen();
    void loadSpecimen();
    double rawForce() const;
    double envelope(double deformationMm) const;
    void resetPeak() { m_peakN = liveForce(); }
    quint16 strokeDirection() const;  // the direction code of what the head is doing

    qint64 m_nowUs = 0;
    double m_positionMm = 0.0;
    Motion m_motion = Motion::Idle;
    Stroke m_stroke;
    int m_speedMmPerMin = 100;  // of the running stroke
    double m_testStartMm = 0.0;
    int m_mode = Push;  // of the last test; decides what a recording jog calls forward

    Specimen m_specimen;
    int m_specimenMode = Push;
    double m_contactMm = 0.0;
    double m_maxDeformationMm = 0.0;
    bool m_broken = false;

    std::mt19937 m_random;
    std::normal_distribution<double> m_gauss;
    double m_noiseSigmaN = 0.1;
    double m_noiseN = 0.0;
    double m_forceOffsetN = 0.0;
    double m_distanceOffsetMm = 0.0;
    float m_peakN = 0.0f;

    int m_unit = 0;
    bool m_auto = false;
    int m_displayMode = 0;
    int m_typeNumber = 500;
    int m_decimals = 3;

    Request m_request = Request::None;
    qint64 m_answerDueUs = 0;
    int m_processingDelayMs = DefaultProcessingDelayMs;
    StoredParameters m_parameters;
    StoredData m_data;

    bool m_recording = false;
    int m_sampleRateHz = DefaultSampleRateHz;
    int m_recordingRateHz = DefaultSampleRateHz;
    qint64 m_sampleOriginUs = 0;
    qint64 m_sampleIndex = 0;
    std::deque<Point> m_queue;
    int m_queueLimit = DefaultQueueLimit;
    qint64 m_dropped = 0;
};
