// The editing soak: a seeded random run of what a user does to a design through the model, with every
// check after every step. Usage: editing_soak [--steps N] [--seed S] [--verbose]
//
// Each step is a cut by one of the five methods, a change or deletion of a facet group, a whole-design
// operation, an undo or redo, a save and reopen, or an ASC export and import. Every change is committed
// as the main window does it: a snapshot is written and read straight back. After every step the
// polyhedron invariants and the design's numbers are checked; a saved design reads back and saves to
// the same text; an undo or redo gives back exactly the text of its snapshot; and when the design is
// destroyed, no snapshot file is left behind.
#include "editing/undo_history.h"
#include "gem/gem.h"
#include "tests/support/asc_files.h"
#include "tests/support/polyhedron_checks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr Real MergedPointTolerance = 0.9L;
constexpr int LargestDesign = 48; // facets; larger designs are thinned, so that steps stay quick
constexpr int DefaultSteps = 2000;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string WithoutVersionLine(const std::string& text) {
    return text.substr(text.find('\n') + 1);
}

// The first line in which two texts differ, as "line N: A | B".
std::string FirstDifference(const std::string& a, const std::string& b) {
    std::istringstream inA(a), inB(b);
    std::string lineA, lineB;
    for (int n = 1;; ++n) {
        const bool moreA = static_cast<bool>(std::getline(inA, lineA));
        const bool moreB = static_cast<bool>(std::getline(inB, lineB));
        if (!moreA && !moreB) return "no line differs";
        if (lineA != lineB || moreA != moreB)
            return "line " + std::to_string(n) + ": " + lineA + " | " + lineB;
    }
}

class Soak {
  public:
    Soak(unsigned seed, bool verbose) : rng_(seed), verbose_(verbose), gem_(std::make_unique<TGem>()) {
        gem_->NewDesign('c', 8, 96, true, 0, true);
        Commit("start");
    }

    // Runs the steps; answers the number of findings.
    int Run(long steps) {
        for (step_ = 1; step_ <= steps && findings_ < MaxFindings; ++step_) {
            const std::string name = OneStep();
            ++done_[name];
            CheckDesign(name);
        }
        const std::string folder = history_->Folder();
        history_.reset();
        if (!folder.empty() && fs::exists(folder))
            Finding("end", "snapshot folder " + folder + " is left behind");
        return findings_;
    }

    void Report(double seconds) const {
        std::printf("%ld steps in %.1f s, %d findings\n", step_ - 1, seconds, findings_);
        for (const auto& [name, count] : done_)
            std::printf("  %-22s %6d\n", name.c_str(), count);
        std::printf("  %-22s %6d\n", "(refused or no plane)", refused_);
    }

  private:
    static constexpr int MaxFindings = 100; // a run stops after so many

    using Choice = std::pair<const char*, std::function<void()>>;

    std::string OneStep() {
        if (gem_->FacetCount > LargestDesign) {
            DeleteRandomGroup();
            return "thin out";
        }
        const std::vector<std::pair<int, Choice>> choices = {
            {10, {"cut by depth", [this] { CutByDepth(); }}},
            {8, {"cut through point", [this] { CutThroughPoint(); }}},
            {6, {"cut through two points", [this] { CutThroughTwoPoints(); }}},
            {6, {"cut through three points", [this] { CutThroughThreePoints(); }}},
            {6, {"cut girdle", [this] { CutGirdle(); }}},
            {5, {"modify group", [this] { ModifyGroup(); }}},
            {4, {"delete group", [this] { DeleteRandomGroup(); }}},
            {3, {"delete last group", [this] { Change([this] { gem_->DeleteLastGroup(); }); }}},
            {8, {"whole design", [this] { WholeDesign(); }}},
            {8, {"undo", [this] { UndoOrRedo(Direction::Undo); }}},
            {5, {"redo", [this] { UndoOrRedo(Direction::Redo); }}},
            {3, {"save and reopen", [this] { SaveAndReopen(); }}},
            {2, {"asc export and import", [this] { AscRoundTrip(); }}},
            {1, {"new design", [this] { NewDesign(); }}},
        };
        int total = 0;
        for (const auto& c : choices)
            total += c.first;
        int pick = std::uniform_int_distribution<int>(0, total - 1)(rng_);
        for (const auto& [weight, choice] : choices) {
            if (pick < weight) {
                choice.second();
                return choice.first;
            }
            pick -= weight;
        }
        return "none";
    }

    // ---- Random values ----
    Real Uniform(Real low, Real high) { return std::uniform_real_distribution<Real>(low, high)(rng_); }
    int Integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    Real RandomIndex() {
        const Real n = gem_->IndexCount();
        return Chance(0.8) ? static_cast<Real>(Integer(0, gem_->IndexCount() - 1)) : Uniform(0, n);
    }
    Real RandomAngle() { return Chance(0.15) ? 90 : Uniform(3, 87); }

    // A corner of the stone, or a point near the stone when it has none.
    Vector3 RandomPoint() {
        if (gem_->PointCount > 0) return gem_->Points[Integer(1, gem_->PointCount)].Position;
        const Real z = gem_->IsCrown() ? Uniform(0, 20) : Uniform(-60, 0);
        return {Uniform(-40, 40), Uniform(-40, 40), z};
    }

    // Symmetry for the next group: the design's, or a divisor of the gear, with or without mirror.
    void ChooseSymmetry() {
        if (Chance(0.6)) {
            gem_->Parts = gem_->DesignParts;
            gem_->Mirror = gem_->DesignMirror;
            return;
        }
        std::vector<int> divisors;
        for (int p = 1; p <= 16; ++p)
            if (gem_->IndexCount() % p == 0) divisors.push_back(p);
        gem_->Parts = divisors[static_cast<std::size_t>(Integer(0, static_cast<int>(divisors.size()) - 1))];
        gem_->Mirror = Chance(0.5);
    }

    // ---- Changes, committed as the main window commits them ----

    // Runs a change that may decline (false); a declined change or a range error puts the design back
    // as it was, like the window's change runner.
    bool Attempt(const std::function<bool()>& change) {
        const std::unique_ptr<TGem> before = gem_->Backup();
        try {
            if (!change()) {
                gem_->Restore(*before);
                ++refused_;
                return false;
            }
        } catch (const RangeError&) {
            gem_->Restore(*before);
            ++refused_;
            return false;
        }
        Commit("change");
        return true;
    }
    bool Change(const std::function<void()>& change) {
        return Attempt([&change] {
            change();
            return true;
        });
    }

    // A snapshot is written and read straight back; its text is kept for undo and redo.
    void Commit(const std::string& what) {
        if (const FileResult written = history_->Record(*gem_); !written)
            return Finding(what, "snapshot not written: " + written.Error().Message);
        if (const FileResult read = history_->Reload(*gem_); !read)
            return Finding(what, "snapshot not read back: " + read.Error().Message);
        RecordSnapshot(history_->Current());
    }

    void RecordSnapshot(int n) {
        const std::string text = WithoutVersionLine(gem_->DesignFileText());
        const std::string file = WithoutVersionLine(ReadFile(history_->StepFile(n)));
        if (file != text && verbose_) {
            std::ofstream("/tmp/soak-file.lfx") << file;
            std::ofstream("/tmp/soak-design.lfx") << text;
        }
        if (file != text)
            Finding("snapshot",
                    "the design read back differs from its snapshot file: " + FirstDifference(file, text));
        snapshots_.resize(static_cast<std::size_t>(n) + 1);
        snapshots_[static_cast<std::size_t>(n)] = text;
    }

    bool Cut(const std::function<std::optional<Plane>()>& makePlane) {
        ChooseSymmetry();
        return Attempt([&] {
            const std::optional<Plane> plane = makePlane();
            if (!plane) return false;
            gem_->CutFacetGroup(gem_->LastFacetBeforeNewGroup() + 1, *plane);
            gem_->Recompute();
            return true;
        });
    }

    void CutByDepth() {
        const Real angle = RandomAngle(), index = RandomIndex(), depth = Uniform(2, 60);
        Cut([&] { return gem_->PlaneFromAngleIndexDist(angle, index, depth); });
    }
    void CutThroughPoint() {
        const Real angle = RandomAngle(), index = RandomIndex();
        const Vector3 a = RandomPoint();
        Cut([&] { return gem_->PlaneFromAngleIndexPoint(angle, index, a); });
    }
    void CutThroughTwoPoints() {
        const Real index = RandomIndex();
        const Vector3 a = RandomPoint(), b = RandomPoint();
        Cut([&] { return gem_->PlaneFromIndexTwoPoints(index, a, b); });
    }
    void CutThroughThreePoints() {
        const Vector3 a = RandomPoint(), b = RandomPoint(), c = RandomPoint();
        Cut([&] { return gem_->PlaneFromThreePoints(a, b, c); });
    }
    void CutGirdle() {
        const Vector3 a = RandomPoint(), b = RandomPoint();
        Cut([&] { return TGem::VerticalPlaneThrough(a.x, a.y, b.x, b.y); });
    }

    // The first facet of a random facet group, or 0 when there is none.
    int RandomGroup() {
        std::vector<int> firsts;
        for (int f = 1; f <= gem_->FacetCount; ++f)
            if (gem_->GroupParts(f) != 0) firsts.push_back(f);
        if (firsts.empty()) return 0;
        return firsts[static_cast<std::size_t>(Integer(0, static_cast<int>(firsts.size()) - 1))];
    }

    void ModifyGroup() {
        const int first = RandomGroup();
        if (first == 0) return;
        const Real angle = RandomAngle(), index = RandomIndex(), depth = Uniform(2, 60);
        Attempt([&] {
            const std::optional<Plane> plane = gem_->PlaneFromAngleIndexDist(angle, index, depth);
            if (!plane) return false;
            gem_->EnterModifyMode(first);
            gem_->CutFacetGroup(first, *plane);
            gem_->LeaveModifyMode();
            gem_->Recompute();
            return true;
        });
    }

    void DeleteRandomGroup() {
        const int facet = RandomGroup();
        if (facet == 0) return;
        Attempt([&] {
            const std::optional<TGem::FacetRange> group = gem_->GroupRange(facet);
            if (!group) return false;
            gem_->DeleteFacets(group->First, group->Last);
            gem_->Recompute();
            return true;
        });
    }

    void WholeDesign() {
        switch (Integer(0, 10)) {
        case 0:
            Change([this] { gem_->RoundIndices(); });
            break;
        case 1:
            Change([this, k = Integer(-gem_->IndexCount(), gem_->IndexCount())] { gem_->RotateByIndex(k); });
            break;
        case 2:
            Change([this, h = Uniform(-5, 40)] { gem_->SetBoundingPlane(h); });
            break;
        case 3:
            Change([this, dh = Uniform(-10, 10)] { gem_->ShiftBoundingPlane(dh); });
            break;
        case 4: {
            if (gem_->FacetCount < 1) break;
            const Real source = gem_->FacetAngle(Integer(1, gem_->FacetCount)), target = Uniform(5, 85);
            Attempt([this, source, target] {
                if (!gem_->ScaleAngles(target, source)) return false;
                gem_->Recompute();
                return true;
            });
            break;
        }
        case 5:
            Attempt([this, f = Uniform(0.5, 1.6)] { return gem_->Resize(f); });
            break;
        case 6:
            Attempt([this, s = Uniform(0.7, 1.4)] { return gem_->StretchY(s); });
            break;
        case 7:
            Attempt([this, s = Uniform(-8, 8)] { return gem_->ShiftAlongAxis(s); });
            break;
        case 8:
            Preform();
            break;
        case 9:
            Measure();
            break;
        default:
            Change([this, k = Integer(1, TextLineCount), n = Integer(0, 99)] {
                gem_->SetTextLine(k, "soak text " + std::to_string(n));
            });
            break;
        }
    }

    // The preform is a design of its own; the design itself stays as it is.
    void Preform() {
        if (gem_->FacetCount < 1) return;
        auto copy = gem_->Backup();
        auto preform = std::make_unique<TGem>();
        try {
            copy->FlattenForPreform();
            copy->Recompute();
            copy->RevealGirdleFacets();
            copy->MakePreform(*preform);
        } catch (const RangeError&) {
            ++refused_;
            return;
        }
        for (const std::string& fault : CheckInvariants(*preform, MergedPointTolerance))
            Finding("preform", fault);
        for (const std::string& fault : CheckDesignNumbers(*preform))
            Finding("preform", fault);
    }

    void Measure() {
        if (gem_->W() <= 0) return;
        std::vector<int> girdleEdges;
        for (int e = 1; e <= gem_->EdgeCount; ++e)
            if (gem_->Edges[e].FacetA == 0) girdleEdges.push_back(e);
        if (girdleEdges.empty()) return;
        const int e =
            girdleEdges[static_cast<std::size_t>(Integer(0, static_cast<int>(girdleEdges.size()) - 1))];
        Change([this, e] {
            gem_->MeasureGirdleEdge(e);
            static_cast<void>(gem_->MeasureCornerToCorner(gem_->Points[gem_->Edges[e].PointA].Position));
        });
    }

    void NewDesign() {
        static const int gears[] = {96, 64, 80, 120, -96, 72};
        const int gear = gears[Integer(0, 5)];
        std::vector<int> divisors;
        for (int p = 1; p <= 12; ++p)
            if (std::abs(gear) % p == 0) divisors.push_back(p);
        const int parts =
            divisors[static_cast<std::size_t>(Integer(0, static_cast<int>(divisors.size()) - 1))];
        gem_->NewDesign(Chance(0.5) ? 'c' : 'p', parts, gear, Chance(0.5), Integer(0, 5), true);
        history_->StartNew();
        snapshots_.clear();
        Commit("new design");
    }

    enum class Direction { Undo, Redo };
    void UndoOrRedo(Direction direction) {
        const bool undo = direction == Direction::Undo;
        const bool possible = undo ? history_->CanUndo() : history_->CanRedo();
        const FileResult read = undo ? history_->Undo(*gem_) : history_->Redo(*gem_);
        const bool done = read.Done();
        if (done != possible) return Finding("undo/redo", "answered " + std::to_string(done));
        if (!done) {
            if (!read.Error().Empty())
                Finding("undo/redo", "a message without a step: " + read.Error().Message);
            return;
        }
        const std::size_t n = static_cast<std::size_t>(history_->Current());
        if (n >= snapshots_.size() || WithoutVersionLine(gem_->DesignFileText()) != snapshots_[n])
            Finding("undo/redo", "snapshot " + std::to_string(n) + " does not give back its text");
    }

    void SaveAndReopen() {
        TempFile file("soak.lfx");
        if (const FileResult saved = gem_->WriteDesign(file.Path(), TGem::FileMode::Save, "soak"); !saved)
            return Finding("save", saved.Error().Message);
        const std::string saved = file.Read();
        const std::string text = WithoutVersionLine(gem_->DesignFileText());
        if (const FileResult read = gem_->ReadDesign(file.Path(), TGem::FileMode::Open); !read)
            return Finding("reopen", read.Error().Message);
        if (WithoutVersionLine(gem_->DesignFileText()) != text)
            Finding("reopen", "the reopened design differs");
        if (const FileResult saved = gem_->WriteDesign(file.Path(), TGem::FileMode::Save, "soak"); !saved)
            return Finding("save again", saved.Error().Message);
        if (WithoutVersionLine(file.Read()) != WithoutVersionLine(saved))
            Finding("save again", "save, read and save give different files");
        history_->StartNew();
        snapshots_.clear();
        Commit("reopen");
    }

    void AscRoundTrip() {
        TempFile file("soak.asc");
        if (const FileResult written = gem_->WriteAsc(file.Path()); !written)
            return Finding("asc export", written.Error().Message);
        if (const FileResult read = gem_->ReadAsc(file.Path()); !read)
            return Finding("asc read", read.Error().Message);
        const std::unique_ptr<TGem> before = gem_->Backup();
        const UndoHistory::Counters steps = history_->Backup();
        // The import's empty design is its first undo step.
        const auto recordEmpty = [this](TGem& empty) {
            history_->StartNew();
            if (const FileResult written = history_->Record(empty); !written)
                Finding("asc import", "empty design not written: " + written.Error().Message);
        };
        try {
            if (const FileResult imported = gem_->ImportAsc(gem_->GemType, recordEmpty); !imported)
                return Finding("asc import", imported.Error().Message);
        } catch (const RangeError&) {
            gem_->Restore(*before);
            history_->Restore(steps);
            ++refused_;
            return;
        }
        snapshots_ = {WithoutVersionLine(ReadFile(history_->StepFile(0)))}; // the import's empty design
        Commit("asc import");
    }

    // ---- Checks ----

    // A design that breaks the invariants is reported once (its first fault), and the run goes on
    // from a new design, so that one fault does not hide the next.
    void CheckDesign(const std::string& step) {
        std::vector<std::string> faults = CheckInvariants(*gem_, MergedPointTolerance);
        for (const std::string& fault : CheckDesignNumbers(*gem_))
            faults.push_back(fault);
        if (!faults.empty()) {
            Finding(step,
                    faults.front() +
                        (faults.size() > 1 ? " (and " + std::to_string(faults.size() - 1) + " more)" : ""));
            NewDesign();
        }
        if (verbose_)
            std::printf("%6ld %-24s facets %4d snapshot %3d\n", step_, step.c_str(), gem_->FacetCount,
                        history_->Current());
    }

    // Reports a finding; with --verbose the design is kept as soak-finding-STEP.lfx.
    void Finding(const std::string& step, const std::string& what) {
        ++findings_;
        if (verbose_ && gem_)
            std::ofstream("soak-finding-" + std::to_string(step_) + ".lfx", std::ios::binary)
                << gem_->DesignFileText();
        std::printf("finding at step %ld (%s): %s\n", step_, step.c_str(), what.c_str());
    }

    std::mt19937 rng_;
    bool verbose_;
    std::unique_ptr<TGem> gem_;
    std::unique_ptr<UndoHistory> history_ = std::make_unique<UndoHistory>();
    std::vector<std::string> snapshots_; // the text of snapshot n, without its version line
    std::map<std::string, int> done_;
    long step_ = 0;
    int findings_ = 0;
    int refused_ = 0;
};
} // namespace

int main(int argc, char* argv[]) {
    long steps = DefaultSteps;
    unsigned seed = 1;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--steps" && i + 1 < argc)
            steps = std::strtol(argv[++i], nullptr, 10);
        else if (arg == "--seed" && i + 1 < argc)
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--verbose")
            verbose = true;
        else {
            std::fprintf(stderr, "Usage: %s [--steps N] [--seed S] [--verbose]\n", argv[0]);
            return 2;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    Soak soak(seed, verbose);
    const int findings = soak.Run(steps);
    soak.Report(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return findings == 0 ? 0 : 1;
}
