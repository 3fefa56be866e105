#include "post/ModalTable.h"

#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/RecorderReaders.h"
#include "post/RecorderText.h"
#include "tcl/RecorderFiles.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace vandra {
namespace {

using namespace recorder_text;
using recorder::RecorderFile;

constexpr int kMasterFixedDofs[] = {3, 4, 5}; // a diaphragm's master: fix 0 0 1 1 1 0

// [joint][dof 1..6]: the dof is fixed by the script's fix commands.
std::vector<std::array<bool, 7>> FixedDofs(const TModel& model) {
    const int nodes = CountOf(model.NodeCount);
    std::vector<std::array<bool, 7>> fixed(static_cast<size_t>(nodes) + 1);
    for (int j = 1; j <= nodes; ++j)
        for (size_t d = 1; d <= 6; ++d)
            fixed[static_cast<size_t>(j)][d] =
                model.Nodes[static_cast<size_t>(j)].Restraint[d] != 0;
    for (int d = 1; d <= CountOf(model.DiaphCount) && static_cast<size_t>(d) < model.Diaphs.size();
         ++d) {
        const int master = model.Diaphs[static_cast<size_t>(d)].Master;
        if (master < 1 || master > nodes) continue;
        for (int dof : kMasterFixedDofs)
            fixed[static_cast<size_t>(master)][static_cast<size_t>(dof)] = true;
    }
    return fixed;
}

// Number of the data columns of each section of the report that is read.
struct ReportSection {
    int number;
    int columns;
};

// A row's mode, eigenvalue, period and frequency.
TModeRow PeriodRow(int mode, double lambda) {
    if (!(lambda > 0))
        throw InputError("Mode " + Num(mode) + " has the eigenvalue " +
                         text::FormatGeneral(lambda) +
                         ", which is not positive: the model is not stable");
    TModeRow row;
    row.Mode = mode;
    row.Eigenvalue = lambda;
    const double omega = std::sqrt(lambda);
    row.Period = 2 * std::numbers::pi / omega;
    row.Frequency = omega / (2 * std::numbers::pi);
    return row;
}

} // namespace

std::vector<double> ReadEigenvalues(const std::string& folder) {
    RecorderText text;
    text.load(PathOf(folder, recorder::FileName(RecorderFile::Eigenvalues, 0)));
    std::vector<double> values;
    std::string_view line;
    for (int n = 1; text.next(line); ++n) {
        int tokens = 0;
        bool inToken = false;
        for (char c : line) {
            const bool blank = c == ' ' || c == '\t' || c == '\r';
            if (!blank && !inToken) ++tokens;
            inToken = !blank;
        }
        const size_t at = values.size();
        values.resize(at + static_cast<size_t>(tokens));
        ParseLine(line, text.path(), n, tokens, values.data() + at);
    }
    if (values.empty()) throw InputError(text.path() + ": the file holds no eigenvalue");
    return values;
}

TModalTable ComputeModalTable(const TModel& model, const std::vector<double>& eigenvalues,
                              const std::vector<TNodeField>& shapes) {
    if (model.NodeCount > 0 && static_cast<long long>(model.Nodes.size()) <= model.NodeCount)
        throw InputError("The joint table holds fewer records than its count");
    if (eigenvalues.size() < shapes.size())
        throw InputError(Num(static_cast<long long>(shapes.size())) + " mode shapes but only " +
                         Num(static_cast<long long>(eigenvalues.size())) + " eigenvalues");
    const int nodes = CountOf(model.NodeCount);
    const std::vector<std::array<bool, 7>> fixed = FixedDofs(model);
    // m[j][k]: the translational mass of joint j along k at a free dof; p[j]: where it stands.
    std::vector<Vec3> m(static_cast<size_t>(nodes) + 1), p(static_cast<size_t>(nodes) + 1);
    for (int j = 1; j <= nodes; ++j) {
        const auto sj = static_cast<size_t>(j);
        const TNODE& node = model.Nodes[sj];
        for (size_t d = 4; d <= 6; ++d)
            if (node.Mass[d] != 0 && !fixed[sj][d])
                throw InputError("Joint " + Num(j) +
                                 " has a rotational mass; its participating mass needs the "
                                 "rotations of the mode shapes, which are not recorded");
        JointPlace(model, j, p[sj]);
        for (size_t k = 0; k < 3; ++k)
            m[sj][k] = fixed[sj][k + 1] ? 0 : node.Mass[k + 1];
    }
    TModalTable table;
    table.MassRatios = true;
    // The centre: each coordinate weighted by the masses along it; along a direction without
    // mass (Z of most buildings), by all the translational masses.
    double all = 0;
    Vec3 allMoment{};
    for (size_t j = 1; j <= static_cast<size_t>(nodes); ++j) {
        const double mass = m[j][0] + m[j][1] + m[j][2];
        all += mass;
        for (size_t k = 0; k < 3; ++k)
            allMoment[k] += mass * p[j][k];
    }
    for (size_t k = 0; k < 3; ++k) {
        double mass = 0, moment = 0;
        for (size_t j = 1; j <= static_cast<size_t>(nodes); ++j) {
            mass += m[j][k];
            moment += m[j][k] * p[j][k];
        }
        table.Centre[k] = mass != 0 ? moment / mass : all != 0 ? allMoment[k] / all : 0;
    }
    const Vec3& c = table.Centre;
    for (size_t j = 1; j <= static_cast<size_t>(nodes); ++j) {
        const double x = p[j][0] - c[0], y = p[j][1] - c[1], z = p[j][2] - c[2];
        const Vec3& mj = m[j];
        table.FreeMass[kUX] += mj[0];
        table.FreeMass[kUY] += mj[1];
        table.FreeMass[kUZ] += mj[2];
        table.FreeMass[kRX] += mj[1] * z * z + mj[2] * y * y;
        table.FreeMass[kRY] += mj[0] * z * z + mj[2] * x * x;
        table.FreeMass[kRZ] += mj[0] * y * y + mj[1] * x * x;
    }
    TModalValues cumulative{};
    for (size_t mode = 0; mode < shapes.size(); ++mode) {
        const TNodeField& s = shapes[mode];
        if (s.X.size() < static_cast<size_t>(nodes) + 1)
            throw InputError("Mode shape " + Num(static_cast<long long>(mode) + 1) +
                             " does not hold every joint");
        double generalized = 0;
        TModalValues l{};
        for (size_t j = 1; j <= static_cast<size_t>(nodes); ++j) {
            const Vec3& mj = m[j];
            const double ux = s.X[j], uy = s.Y[j], uz = s.Z[j];
            const double x = p[j][0] - c[0], y = p[j][1] - c[1], z = p[j][2] - c[2];
            generalized += mj[0] * ux * ux + mj[1] * uy * uy + mj[2] * uz * uz;
            l[kUX] += mj[0] * ux;
            l[kUY] += mj[1] * uy;
            l[kUZ] += mj[2] * uz;
            l[kRX] += mj[2] * uz * y - mj[1] * uy * z;
            l[kRY] += mj[0] * ux * z - mj[2] * uz * x;
            l[kRZ] += mj[1] * uy * x - mj[0] * ux * y;
        }
        TModeRow row = PeriodRow(static_cast<int>(mode) + 1, eigenvalues[mode]);
        for (size_t d = 0; d < static_cast<size_t>(kModalDirections); ++d) {
            const double total = table.FreeMass[d];
            row.Ratio[d] = generalized > 0 && total > 0 ? l[d] * l[d] / generalized / total : 0;
            cumulative[d] += row.Ratio[d];
            row.Cumulative[d] = cumulative[d];
        }
        table.Modes.push_back(row);
    }
    return table;
}

TModalTable ReadModalTable(const TModel& model, const std::string& folder, int modes) {
    if (modes < 1) throw InputError("Mode Num must be 1 or more, not " + Num(modes));
    const std::vector<double> eigenvalues = ReadEigenvalues(folder);
    if (static_cast<int>(eigenvalues.size()) < modes)
        throw InputError(PathOf(folder, recorder::FileName(RecorderFile::Eigenvalues, 0)) +
                         " holds " + Num(static_cast<long long>(eigenvalues.size())) +
                         " eigenvalues; " + Num(modes) + " modes were asked for");
    return ReadModalTable(model, folder,
                          std::vector<double>(eigenvalues.begin(), eigenvalues.begin() + modes));
}

TModalTable ReadModalTable(const TModel& model, const std::string& folder,
                           const std::vector<double>& eigenvalues) {
    std::vector<TNodeField> shapes;
    for (int mode = 1; mode <= static_cast<int>(eigenvalues.size()); ++mode)
        shapes.push_back(ReadModeShape(model, folder, mode));
    return ComputeModalTable(model, eigenvalues, shapes);
}

TModalTable ReadModalReport(const std::string& folder) {
    constexpr ReportSection kEigen{2, 5};       // mode, lambda, omega, frequency, period
    constexpr ReportSection kFreeMass{4, 6};    // MX MY MZ RMX RMY RMZ
    constexpr ReportSection kCentre{5, 3};      // X Y Z
    constexpr ReportSection kRatio{9, 7};       // mode, then the six ratios in %
    constexpr ReportSection kCumulative{10, 7}; // mode, then the six sums in %
    RecorderText text;
    text.load(PathOf(folder, recorder::FileName(RecorderFile::ModalReport, 0)));
    TModalTable table;
    table.MassRatios = true;
    std::vector<std::array<double, 7>> ratios, sums;
    bool seen[11] = {};
    int section = 0;
    std::string_view line;
    double v[7];
    for (int n = 1; text.next(line); ++n) {
        const size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string_view::npos || line[start] == '#') continue;
        if (line[start] == '*') {
            const std::string_view rest = line.substr(start + 1);
            const std::optional<int> number = parse::TryInteger(rest.substr(0, rest.find('.')));
            section = number ? *number : 0;
            if (section > 0 && section < 11) seen[section] = true;
            continue;
        }
        if (section == kEigen.number) {
            ParseLine(line, text.path(), n, kEigen.columns, v);
            TModeRow row;
            row.Mode = static_cast<int>(v[0]);
            row.Eigenvalue = v[1];
            row.Frequency = v[3];
            row.Period = v[4];
            table.Modes.push_back(row);
        } else if (section == kFreeMass.number) {
            ParseLine(line, text.path(), n, kFreeMass.columns, table.FreeMass.data());
        } else if (section == kCentre.number) {
            ParseLine(line, text.path(), n, kCentre.columns, table.Centre.data());
        } else if (section == kRatio.number || section == kCumulative.number) {
            ParseLine(line, text.path(), n, kRatio.columns, v);
            auto& list = section == kRatio.number ? ratios : sums;
            std::array<double, 7>& row = list.emplace_back();
            std::copy(v, v + 7, row.begin());
        }
    }
    for (const ReportSection& s : {kEigen, kFreeMass, kCentre, kRatio, kCumulative})
        if (!seen[s.number])
            throw InputError(text.path() + ": the report has no section " + Num(s.number));
    if (ratios.size() != table.Modes.size() || sums.size() != table.Modes.size())
        throw InputError(text.path() + ": the report lists " +
                         Num(static_cast<long long>(table.Modes.size())) +
                         " modes but mass ratios of " + Num(static_cast<long long>(ratios.size())));
    for (size_t k = 0; k < table.Modes.size(); ++k)
        for (size_t d = 0; d < static_cast<size_t>(kModalDirections); ++d) {
            table.Modes[k].Ratio[d] = ratios[k][d + 1] / 100;
            table.Modes[k].Cumulative[d] = sums[k][d + 1] / 100;
        }
    return table;
}

TModalTable PeriodTable(const std::vector<double>& eigenvalues) {
    TModalTable table;
    for (size_t k = 0; k < eigenvalues.size(); ++k)
        table.Modes.push_back(PeriodRow(static_cast<int>(k) + 1, eigenvalues[k]));
    return table;
}

} // namespace vandra
