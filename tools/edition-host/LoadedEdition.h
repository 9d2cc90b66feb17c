#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// The plug-in formats a module can be loaded as.
enum class EditionKind { vst2, vst3, clap, lv2 };

// "VST 2.4", "VST 3", "CLAP", "LV2": as messages and reports name the edition.
const char* editionName(EditionKind kind);

// A parameter as the host sees it: its name, the normalized value, the value in the plug-in's
// own unit with the range it declares, and the text the plug-in shows for it.
struct ParameterReading {
    std::string name;
    double normalized = 0.0;
    double plain = 0.0;
    double minimum = 0.0;
    double maximum = 1.0;
    std::string text;
};

// A loaded plug-in of any edition, as the tools and the tests drive it: one interface for what
// every format offers a host, so that a behaviour is written once and checked per edition.
//
// Parameters are addressed by the effect's index: the VST 2.4 index, which the VST 3 and CLAP
// editions use as their IDs and the LV2 edition maps to its ports. A plug-in other than ours
// is addressed by its own IDs (VST 3, CLAP) or by the order of its controls (LV2). Our
// parameters' normalized values are the effect's in every edition (the VST 3 edition's own run
// the other way where a plain value falls as the effect's value rises); the plain value and
// its range are what the edition's host reads.
class LoadedEdition {
  public:
    virtual ~LoadedEdition() = default;

    virtual EditionKind kind() const = 0;
    // The plug-in's name as its host lists it.
    virtual std::string name() = 0;
    // Whether the plug-in is this product: only then are its curves, texts and meter known.
    bool isOurs() { return name() == ourName(); }
    static const char* ourName();

    // The key (sidechain) input: how many channels it takes at most, 0 when there is none.
    virtual int keyChannels() = 0;
    // Connects a key of `channels` (1 or 2; 0 disconnects it), as a host's routing does: from
    // the next start, or while processing from the next block (VST 3: the key bus is switched
    // on or off at once). False with a one-line reason when the edition has no key input.
    bool connectKey(int channels, std::string& refusal);
    int connectedKeyChannels() const { return connectedKeyChannels_; }
    // For tests of a careless host: from the next block on, the key input is handed `count`
    // channels (0 ... 3) whatever it was arranged for, the key's own where it has them and
    // silence for the rest; -1 hands them as arranged again. VST 3 and CLAP give the bus that
    // many channels; LV2 connects that many key ports and refuses more than it has. False where
    // the edition cannot hand that count.
    virtual bool handKeyChannels(int count) = 0;

    // Prepares processing at this rate in blocks of at most `maxBlock` frames, in double
    // precision when asked and processesDouble() (the host's resume or activate); the latency
    // is known afterwards.
    virtual void start(double sampleRateHz, int maxBlock, bool doublePrecision) = 0;
    virtual void stop() = 0;
    // Frames the output lags the input, as the plug-in reports it after start.
    virtual int latency() = 0;
    virtual bool processesDouble() = 0;
    // One block of stereo audio; `key` holds the connected key's channels. With a key
    // connected, a null `key` is a block in which the host hands the key input no buffers
    // (VST 3: the key bus without channel buffers, CLAP: the key port without them, LV2: the
    // key ports unconnected), and a null channel reaches the plug-in as null. Any pointer may
    // be null, as a careless host passes it.
    virtual void process(float* const* inputs, float* const* outputs, int frames,
                         float* const* key = nullptr) = 0;
    // Only when processesDouble().
    virtual void process(double* const* inputs, double* const* outputs, int frames,
                         double* const* key = nullptr) = 0;

    // The effect's indices the edition shows a host, in its order.
    virtual std::vector<int> parameterIndices() = 0;
    // Sets a parameter as a host's automation does; it reaches the sound by the next block.
    virtual void setParameter(int index, double normalized) = 0;
    // The same at `frame` of the next block, where the format's hosts send a change with the
    // sample it falls on (VST 3, CLAP); the other formats take it as the block starts.
    virtual void setParameterAt(int index, double normalized, int frame) {
        (void)frame;
        setParameter(index, normalized);
    }
    virtual ParameterReading parameter(int index) = 0;
    // What a user typed into the host's field for a parameter, as the plug-in reads it: the
    // normalized value (past 0 ... 1 for a plain value past the declared range), or false where
    // the plug-in refuses the text or the format has no such call for it.
    virtual bool valueFromText(int, const std::string&, double&) { return false; }

    // Factory programs (presets), by number; none where the edition offers none.
    virtual std::vector<std::string> programNames() = 0;
    virtual bool selectProgram(int program) = 0;

    // The state a host keeps in its session, and that state given back.
    virtual std::vector<uint8_t> saveState() = 0;
    virtual bool loadState(const std::vector<uint8_t>& bytes) = 0;

    // What the plug-in tells its host, in the format's own terms, for a person to read.
    virtual void describe(std::ostream& out) = 0;

    // The linear gain of the gain-reduction meter after the last block; negative when the
    // edition shows its host no such meter.
    virtual double gain() = 0;

  protected:
    // The key was connected or disconnected; an edition whose format switches its key input
    // while processing does so here.
    virtual void keyConnectionChanged() {}

    int connectedKeyChannels_ = 0;
};

// Loads what `target` names: a VST 2.4 module file, a VST 3 bundle (.vst3), a CLAP module
// (.clap), an LV2 bundle folder (.lv2) or an LV2 URI. Null with a one-line reason that names
// what was expected when it is no plug-in or does not load.
std::unique_ptr<LoadedEdition> loadEdition(const std::string& target, std::string& error);

// The edition a target names by its form alone (the folder or file kind and its extension);
// false when nothing tells.
bool editionOfTarget(const std::string& target, EditionKind& kind);
