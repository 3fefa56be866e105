#include "SuiteFolders.h"

#include "model/AtomicFile.h"
#include "model/NumberText.h"
#include "motion/RunOutcome.h"
#include "motion/Spectrum.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

namespace vandra::testing {

namespace fs = std::filesystem;
using text::FormatGeneral;

double OscillatorStiffness(double period) {
    const double w = 2 * std::numbers::pi / period;
    return w * w;
}

std::string OscillatorScript(const Oscillator& o, double dt, int steps, double scale) {
    const double k = OscillatorStiffness(o.period);
    // An elastic spring, or one without hardening; with one iteration a step Newton converges
    // while the spring is elastic and fails at the first step in which it yields.
    const std::string material = o.yieldForce > 0 ? "Steel01 1 " + FormatGeneral(o.yieldForce) +
                                                        " " + FormatGeneral(k) + " 0.0"
                                                  : "Elastic 1 " + FormatGeneral(k);
    std::ifstream in(std::string(VANDRA_SOURCE_DIR) + "/tests/solver/oscillator.tcl");
    std::string script((std::istreambuf_iterator<char>(in)), {});
    const std::pair<std::string, std::string> fields[] = {
        {"@BEFORE", o.before},
        {"@MATERIAL", material},
        {"@DT", FormatGeneral(dt)},
        {"@FACTOR", FormatGeneral(scale * motion::kStandardGravity)},
        {"@DAMPING", FormatGeneral(2 * 0.05 * std::sqrt(k))},
        {"@STEPS", text::FormatInt(steps)},
        {"@HEIGHT", FormatGeneral(kStoreyHeight)}};
    for (const auto& [key, value] : fields)
        for (size_t at; (at = script.find(key)) != std::string::npos;)
            script.replace(at, key.size(), value);
    return script;
}

motion::Manifest MakeSuite(const fs::path& dir, const std::vector<motion::Record>& records,
                           const std::vector<double>& factors, const ScriptFor& script) {
    motion::Manifest m;
    m.intensities = factors;
    const int count = static_cast<int>(records.size() * factors.size());
    for (size_t r = 0; r < records.size(); ++r) {
        motion::ManifestRecord record;
        const std::string file = "gm" + text::FormatInt(static_cast<long long>(r) + 1) + ".txt";
        record.source = {(dir / file).string(), motion::RecordFormat::kColumns, records[r].dt, 1,
                         0};
        record.label = file;
        record.dt = records[r].dt;
        record.steps = records[r].Steps();
        record.pga = records[r].Pga();
        m.records.push_back(record);
        for (size_t f = 0; f < factors.size(); ++f) {
            motion::ManifestRun run;
            run.folder = motion::RunFolderName(static_cast<int>(m.runs.size()) + 1, count, file,
                                               motion::IntensityKind::kFactor, static_cast<int>(f));
            run.record = static_cast<int>(r);
            run.level = static_cast<int>(f);
            run.scale = factors[f];
            fs::create_directories(dir / run.folder);
            WriteFileAtomically((dir / run.folder / "record.txt").string(),
                                motion::SingleColumnText(records[r]));
            WriteFileAtomically((dir / run.folder / motion::kRunScript).string(),
                                script(run, records[r]));
            m.runs.push_back(run);
        }
    }
    motion::WriteManifest(m, (dir / motion::kManifestFile).string());
    return m;
}

motion::Record GroundMotion(int seed, double seconds) {
    using std::numbers::pi;
    motion::Record r;
    r.dt = 0.01;
    const int n = static_cast<int>(seconds / r.dt) + 1;
    for (int k = 0; k < n; ++k) {
        const double t = k * r.dt;
        const double envelope = t / 2 * std::exp(1 - t / 2);
        r.accel.push_back(envelope * (0.2 * std::sin(2 * pi * (0.9 + 0.2 * seed) * t) +
                                      0.15 * std::sin(2 * pi * 3.3 * t + seed) +
                                      0.1 * std::sin(2 * pi * 0.45 * t + 2 * seed)));
    }
    return r;
}

fs::path FreshSuiteFolder(const fs::path& parent, const std::string& name) {
    const fs::path dir = parent / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

} // namespace vandra::testing
