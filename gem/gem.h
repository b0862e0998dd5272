// TGem: one whole faceted-gem design, its computed polyhedron and everything the model computes.
#pragma once

#include "gem/angles.h"
#include "gem/bounded_array.h"
#include "gem/file_error.h"
#include "gem/progress.h"
#include "gem/vector3.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Table bounds of the model.
inline constexpr int MaxFacets = 2000;
inline constexpr int MaxEdges = 5000;
inline constexpr int MaxPoints = 3000;
inline constexpr int MaxTiers = 500;
inline constexpr int MaxTierMembers = 500;
inline constexpr int MaxCorners = 200;
inline constexpr int MaxFacetEdges = 900;
inline constexpr int TextLineCount = 21;
// Text lines with a fixed use: the design's file name ("filename: " + name), its cut name and its author.
inline constexpr int FileNameLine = 10;
inline constexpr int CutNameLine = 20;
inline constexpr int AuthorLine = 21;
inline constexpr int MessageLineCount = 4;

// A facet plane with its index and group data, and its closed corner polygon.
struct Facet {
    Vector3 Normal;              // unit normal pointing into the stone
    Real Dist = 0;               // the stone keeps Dot(Normal, p) >= Dist
    Real Index = 0;              // raw index in [0, IndexCount)
    Real ShownIndex = 0;         // Index with direction and offset applied
    Real ViewDot = 0;            // drawing scratch: Normal dotted with the view's first column
    std::int32_t TierNo = 0;     // tier the facet belongs to
    std::int32_t GroupParts = 0; // parts of the group on its first facet, 0 on the others
    char SymChar = ' ';  // ' ', 's' (on a mirror line), 'm' (mirrored twins), 'n' (read bounding plane)
    bool Marked = false; // scratch mark of the tier grouping
    std::int32_t CornerCount = 0; // corners + 1 (closed), 0 when the facet has no polygon
    BoundedArray<std::int32_t, 1, MaxCorners> Corners{"Corners"};
};

// An edge of the stone (or of a girdle outline, in the non-positive slots).
struct FacetEdge {
    bool Flag = false;
    std::int32_t FacetA = 0, FacetB = 0;
    std::int32_t PointA = 0, PointB = 0;
    Real OutlineIndex = 0; // only outline edges use it
    bool Flag2 = false;
};

struct CornerPoint {
    bool Flag = false;
    Vector3 Position;
};

struct Tier {
    std::int32_t FirstFacet = 0;
    std::int32_t Unused[4] = {0, 0, 0, 0};
    std::int32_t MemberCount = 0;
    BoundedArray<std::int32_t, 1, MaxTierMembers> Members{"Tier members"};
};

namespace engine {
struct Scratch;
}

// The free rotation's view: turns of a, b and c degrees about x, y and z, composed as A * B * C. Rows are
// the stone's axes x, y, z; columns the view's depth, across and up.
using Matrix3 = std::array<std::array<Real, 3>, 3>;
Matrix3 ViewRotation(Real a, Real b, Real c);

class TGem {
  public:
    TGem();
    ~TGem();
    TGem(const TGem&) = delete;

  private:
    // Whole-state copy: only used to start a scratch read from the current design and to take the
    // result over (the progress sink stays with its owner).
    TGem& operator=(const TGem&) = default;

  public:
    // A copy of the whole design, to put back when a change fails half-way.
    std::unique_ptr<TGem> Backup() const;
    // Puts a backup back; this design keeps its own progress sink.
    void Restore(const TGem& backup) { TakeOverDesign(backup); }

    // ---- Design parameters ----
    char GemType = 'c';
    std::int32_t SystemIndex = 96;
    std::int32_t Parts = 8;
    bool Mirror = false;
    std::int32_t DesignParts = 8;
    bool DesignMirror = false;
    std::int32_t OffsetIndex = 0;
    bool IsPreform = false;

    // ---- Tables and counts ----
    std::int32_t FacetCount = 0;
    std::int32_t EdgeCount = 0;
    std::int32_t PointCount = 0;
    std::int32_t TierCount = 0;
    std::int32_t TierListLines = 0;
    BoundedArray<Facet, -2, MaxFacets> Facets{"Facets"};
    BoundedArray<FacetEdge, -100, MaxEdges> Edges{"Edges"};
    BoundedArray<CornerPoint, -100, MaxPoints> Points{"Points"};
    BoundedArray<Tier, 1, MaxTiers> Tiers{"Tiers"};

    // ---- Derived extents ----
    Vector3 BoxMin, BoxMax;
    Real TableMinX = 200, TableMaxX = 0;
    Real ViewSize = 50;

    // ---- Text that travels with the design ----
    BoundedArray<std::string, 1, TextLineCount> TextLines{"TextLines"};
    BoundedArray<std::string, 1, MessageLineCount> MessageLines{"MessageLines"};
    std::int32_t MessageNext = 1;
    std::string VersionText = "LapidraW " LAPIDRAW_VERSION;
    std::string FileName;

    // ---- Girdle outline ----
    // The outline read from its file lies in the design's tables: points OutlineFirstPoint ... 0 and
    // edges OutlineFirstEdge ... 0 (1: none). While there, picks find them and the sheet draws them.
    std::int32_t OutlineFirstEdge = 1;
    std::int32_t OutlineFirstPoint = 1;

    // Progress of long recomputes; may stay null.
    ProgressSink* Progress = nullptr;

    // ---- Per-facet accessors (facet numbers -2 ... 2000) ----
    Real NormalX(int i) const { return Facets[i].Normal.x; }
    Real NormalY(int i) const { return Facets[i].Normal.y; }
    Real NormalZ(int i) const { return Facets[i].Normal.z; }
    Real Dist(int i) const { return Facets[i].Dist; }
    void SetNormalX(int i, Real v) { Facets[i].Normal.x = v; }
    void SetNormalY(int i, Real v) { Facets[i].Normal.y = v; }
    void SetNormalZ(int i, Real v) { Facets[i].Normal.z = v; }
    void SetDist(int i, Real v) { Facets[i].Dist = v; }
    Real Index(int i) const { return Facets[i].Index; }
    void SetIndex(int i, Real v) { Facets[i].Index = v; }
    std::int32_t GroupParts(int i) const { return Facets[i].GroupParts; }
    char SymChar(int i) const { return Facets[i].SymChar; }

    // ---- Design-level queries ----
    bool IsCrown() const { return GemType == 'c'; }
    bool IsPavilion() const { return GemType == 'p'; }
    bool HasTable() const { return Facets[-1].CornerCount != 0; }
    std::int32_t IndexCount() const;
    std::string TextLine(int k) const;
    void SetTextLine(int k, const std::string& s) { TextLines[k] = s; }
    std::string MessageLine(int k) const { return MessageLines[k]; }
    void DeleteLastGroup();

    // ---- New design and symmetry ----
    void NewDesign(char type, std::int32_t parts, std::int32_t systemIndex, bool mirror, Real offset,
                   bool clearOutline);
    Real Wrap(Real x) const;
    Real ShownIndex(Real x) const;
    bool HasMirrorTwin(int f) const;
    Real IndexFromNormal(const Vector3& normal) const;
    Real FacetAngle(int f) const;
    Real IndexAzimuth(Real index) const; // radians

    // The facet planes of the cutting methods, facing the stone's axis; nothing when the inputs give no
    // plane that cuts this half (a depth of 0 or less, points on the wrong side, points in a line).
    std::optional<Plane> PlaneFromAngleIndexDist(Real angle, Real index, Real dist) const;
    std::optional<Plane> PlaneFromAngleIndexPoint(Real angle, Real index, const Vector3& point) const;
    std::optional<Plane> PlaneFromIndexTwoPoints(Real index, const Vector3& a, const Vector3& b) const;
    std::optional<Plane> PlaneFromThreePoints(const Vector3& a, const Vector3& b, const Vector3& c) const;
    // Cuts the facet group of the plane (Parts copies round the axis, with mirror twins) at facet
    // `first`, or moves the table when the plane is horizontal, and recomputes the stone.
    void CutFacetGroup(int first, const Plane& plane);

    // ---- Cutting engine ----
    // Rebuilds edges, points, polygons, box and table extent from the planes. It takes the fast way
    // whenever that way can prove it finds exactly what the literal way finds, else the literal way.
    void Recompute();
    // The same by the literal way alone: every pair of planes clipped by every other plane, and the
    // tiers grouped by comparing every facet with every later one.
    void RecomputeReference();
    // Whether the last recompute took the fast way.
    bool RecomputedFast() const { return FastRecompute; }
    // Two points closer than this (sum of the absolute coordinate differences) are one corner.
    Real MergeDistance() const { return PointMergeDistance; }

    // ---- Facet-group modification and deletion ----
    void EnterModifyMode(int first);
    void LeaveModifyMode() { ModifyModeOn = false; }
    bool ModifyMode() const { return ModifyModeOn; }
    // The first facet of the group being replaced, while ModifyMode.
    int ReplacedGroup() const { return ModifyGroup; }
    int LastFacetBeforeNewGroup() const;
    // Deletes facets first ... last and recomputes the stone.
    void DeleteFacets(int first, int last);

    // ---- Design file ----
    // Named reads or writes the file given (a read names the design's text after it); Save writes it and
    // sets text line 10; Open reads the file given as a new design (girdle outline emptied); AsWritten
    // writes or reads a copy of the design that is not its own file (an undo step): exactly as written,
    // text line 10 included, and FileName stays the design's own. Other modes set FileName.
    enum class FileMode { Named, Save, Open, AsWritten };

    // Writes the design. The old file is replaced only once the new one is complete. On failure the
    // design and the old file are unchanged.
    FileResult WriteDesign(const std::string& name, FileMode mode, const std::string& shortName);
    // Reads a design. A failed read leaves the design exactly as it was.
    FileResult ReadDesign(const std::string& name, FileMode mode);
    // The design file's text, exactly as WriteDesign writes it (Latin-1 bytes, CR LF line ends).
    std::string DesignFileText() const;

  private:
    struct GroupSymmetry {
        int Parts;
        bool Mirror;
    };
    // The symmetry record that makes the reader count `length` facets from `first` as its groups.
    GroupSymmetry ReadableSymmetry(int first, int length) const;
    int WriteFileAtomically(const std::string& path, const std::string& text);
    void TakeOverDesign(const TGem& read);

  public:
    // (end of design file)

    // ---- Transforms ----
    void RoundIndices();
    void RotateByIndex(int k);
    void SetBoundingPlane(Real h);
    void ShiftBoundingPlane(Real dh);
    // Scales the slopes of the cut facets so that `source` becomes `target`, and recomputes. False,
    // changing nothing, when no facet lies at `source`, the angles give no usable ratio or a plane would
    // leave the engine's reach.
    bool ScaleAngles(Real target, Real source);
    // A cut facet other than a girdle facet lies within 0.1 degrees of the angle: ScaleAngles finds it.
    bool HasCutAngle(Real angle) const;
    std::string TypeLetter() const;
    // (end of transforms)

    // ---- Picking and facet-group queries ----
    // All picks work on the top view: (X, Y) in design units, z only filters.
    // A corner or an edge found at a click: its number, and the corner or the edge's point nearest to
    // the click.
    struct PointFound {
        int Index = 0;
        Vector3 Position;
    };
    // The nearest corner point (by |dx| + |dy|, below 100); point 1 when none is that near.
    // onlyXY: only points of the girdle plane; notXY: none of them (onlyXY wins).
    PointFound PickPoint(Real X, Real Y, bool onlyXY, bool notXY) const;
    // As PickPoint, but nothing when no point is that near.
    std::optional<PointFound> FindPoint(Real X, Real Y, bool onlyXY, bool notXY) const;
    // The edge that best fits the click; nothing when no edge scores below 100.
    std::optional<PointFound> PickEdge(Real X, Real Y, bool onlyXY, bool notXY) const;
    // The facet seen at (X, Y) from above (crown) or below (pavilion); nothing outside the stone.
    std::optional<int> PickFacet(Real X, Real Y) const;
    bool PointInFacet(int i, Real X, Real Y) const;
    // Mean of the end points of the edges bounding facet i; nothing when it has no polygon.
    std::optional<Vector3> FacetCentre(int i) const;
    // First and last facet of the facet group that holds facet i (the table is a group of its own);
    // nothing for the girdle plane, a facet number outside the design or one in no group.
    struct FacetRange {
        int First = 0, Last = 0;
    };
    std::optional<FacetRange> GroupRange(int i) const;
    // The first facet cut at this angle and index (to 0.02 degrees and 0.1 index steps).
    std::optional<int> FindFacet(Real angle, Real index) const;
    bool IndexInUse(Real x) const;
    bool HasGirdleFacet() const;
    bool AllGirdleFacets() const;
    bool AnyFacetShown() const;
    bool IsEmpty() const { return FacetCount < 1; }
    bool HasFacets() const { return FacetCount > 0; }
    bool HasEdgesToPick() const;
    Real LabelIndex(int i) const;
    std::string LabelIndexText(int i) const;
    // Where facet i's label goes in the girdle plane: 5 units outside the middle of its girdle edge;
    // nothing without a girdle edge or for an edge through the axis.
    std::optional<Vector3> GirdleLabelAnchor(int i) const;
    // Three distinct corners of facet i, the first two at different heights; nothing when it has none.
    std::optional<std::array<Vector3, 3>> ThreePointsOfFacet(int i) const;
    // The vertical plane through (x1, y1) and (x2, y2), facing the axis; nothing for points too close.
    static std::optional<Plane> VerticalPlaneThrough(Real x1, Real y1, Real x2, Real y2);

    // The facets a group highlight fills, and how: the drawing outlines every facet of the group in
    // red and fills each one that has a centre; Reference is the dark-grey one.
    struct HighlightFacet {
        int Facet = 0;
        bool Filled = false;    // not a girdle facet and has a centre
        bool Reference = false; // dark grey instead of light grey
        Real CentreX = 0, CentreY = 0, CentreZ = 0;
    };
    // The group of `facet` (no facets when it is NoneFound or in no group) and its first facet (-1 when
    // there is none). The reference is `facet` itself with useFacet, else the first.
    struct HighlightGroup {
        int First = -1;
        std::vector<HighlightFacet> Facets;
    };
    HighlightGroup HighlightGroupFacets(int facet, bool useFacet) const;
    // The members of tier t to fill in light grey; none when its first member is a girdle facet.
    std::vector<HighlightFacet> HighlightTierFacets(int t) const;

  private:
    // Facet f outlined, and filled when it has a centre.
    HighlightFacet Highlighted(int f) const;

  public:
    // (end of picking and facet-group queries)

    // ---- Measurements and proportions ----
    Real W() const { return BoxMax.x - BoxMin.x; }   // girdle width
    Real L() const { return BoxMax.y - BoxMin.y; }   // length
    Real H() const { return BoxMax.z - BoxMin.z; }   // crown height or pavilion depth
    Real T() const { return TableMaxX - TableMinX; } // table width, while HasTable
    // Volume of the half stone between the girdle plane and the facets; facets of one plane (listed
    // twice) make one face and count once.
    Real Volume() const;
    // Facets announced in the proportion block (needs the tiers of GroupTiers).
    int FacetsShownCount() const;
    // Dcf and Lcf of girdle edge e as text; the text is also logged into message lines 1 and 2.
    std::string MeasureGirdleEdge(int e);
    // Distance from a girdle corner to the opposite corner; the text goes to message line 4 (and, on a
    // crown, into the log). Nothing for odd Parts, a point off the girdle or without girdle edges.
    std::optional<Real> MeasureCornerToCorner(const Vector3& corner);
    void ClearMessageLines();

    // The lines of the proportion block, in order, each with whether it shows for this design.
    enum class ProportionItem {
        Parts,
        Mirror,
        LengthToWidth,
        TableToWidth,
        HeightToLength,
        HeightToWidth,
        FacetsShown,
        SystemIndexUsed,
        Volume,
        Message1,
        Message2,
        Message4
    };
    struct ProportionLine {
        ProportionItem Item;
        std::string Text; // Latin-1 (the volume line ends in the superscript three, 0xB3)
        bool Shown;
    };
    std::vector<ProportionLine> ProportionLines() const;

  private:
    void LogMessage(const std::string& text);
    // The facets whose polygon an earlier facet has already (a plane listed twice).
    BoundedArray<bool, -1, MaxFacets> RepeatedFaces() const;

  public:
    // (end of measurements and proportions)

    // ---- ASC files ----
    static constexpr int MaxAscLines = 500;
    static constexpr int MaxAscIndices = 200;
    static constexpr int AscHeaderCount = 9;
    static constexpr Real AscUsed = NoneFound; // an index the import has consumed

    // One `a` line of an ASC file; the indices are raw indices of the file's gear and offset.
    struct AscRecord {
        Real AscAngle = 0;
        Real AscDistance = 0;
        std::int32_t AscIndexCount = 0;
        BoundedArray<Real, 1, MaxAscIndices> AscIndices{"AscIndices"};
    };

    // A whole ASC file as read: its gear, offset and symmetry, header lines and `a` lines.
    struct AscBuffer {
        Real Gear = 0;
        Real Offset = 0;
        std::int32_t Parts = 0;
        char Mirror = ' ';
        BoundedArray<std::string, 1, AscHeaderCount> Header{"AscHeader"};
        std::int32_t LineCount = 0;
        BoundedArray<AscRecord, 1, MaxAscLines> Lines{"AscLines"};
    };
    // The import buffer: filled by ReadAsc, consumed by ImportAsc.
    AscBuffer Asc;

    // Writes the current half design.
    FileResult WriteAsc(const std::string& name);
    // Reads a whole file into the import buffer; on failure (the file cannot be read or is unusable) the
    // buffer is empty. The design itself is never touched.
    FileResult ReadAsc(const std::string& name);
    // Builds a new crown ('c') or pavilion ('p') from the import buffer and computes it; fails, with the
    // design unchanged, when the buffer holds nothing usable. `started` is shown the empty design the
    // import starts from (whoever keeps an undo history records it as the first step).
    FileResult ImportAsc(char type, const std::function<void(TGem&)>& started = nullptr);
    // (end of asc files)

  private:
    // The import's cuts: each record's groups with the symmetry that reproduces its listed indices.
    void CutRecord(AscRecord& record, int designParts, bool designMirror);
    bool CutListedGroup(AscRecord& record, const Plane& plane, int designParts, bool designMirror);

  public:
    // ---- Girdle outlines ----
    static constexpr int MaxOutlineSlots = 101; // outline edges 0 ... -100 and points 0 ... -100
    std::string OutlineFileName;
    std::int32_t OutlineSystemIndex = 0;
    std::int32_t OutlineParts = 0;
    char OutlineType = ' ';
    char OutlineMirror = ' ';
    std::int32_t OutlineOffset = 0;
    // Writes the girdle edges (both ends at |z| < 1).
    FileResult SaveOutline(const std::string& name);
    // Reads an outline (empty name: OutlineFileName). Fails when the file cannot be opened or is malformed
    // or too large; the earlier outline then stays as it was.
    FileResult ReadOutline(const std::string& name);
    // Whether the outline's points or edges lie in the design.
    bool HoldsOutline() const { return OutlineFirstPoint < 1 || OutlineFirstEdge < 1; }
    // Takes the outline's points and edges out of the design (ReadOutline lays them in again).
    void DropOutline();
    bool OutlineFileExists() const;
    // (end of girdle outlines)

    // ---- CAM preform ----
    using FacetMarks = BoundedArray<bool, -1, MaxFacets>;
    static constexpr int NoGirdleNeighbour = -10;
    bool FlattenForPreform();
    void RevealGirdleFacets();
    int GirdleNeighbour(int e) const;
    void MarkGirdleNeighbours(FacetMarks& marks) const;
    void MakePreform(TGem& target) const;
    // (end of cam preform)

    // ---- Stretch, resize and shift ----
    // Resize and StretchY refuse (false, nothing changed) a factor that is not finite and positive;
    // ShiftAlongAxis refuses a distance that is not finite. All three refuse a change that would take a
    // plane beyond the engine's reach (EngineReach), so that every design written can be read again.
    bool Resize(Real f);
    bool StretchY(Real s);
    bool ShiftAlongAxis(Real s);
    // (end of stretch, resize and shift)

  private:
    bool MirrorTwinAt(Real index, int parts, bool mirror) const;
    void CheckGroupFits(int first, const Vector3& normal) const;

    // ---- Cutting engine internals ----
    // Working storage of the fast way, kept from one recompute to the next; every TGem has its own
    // (copying a design leaves it alone).
    class ScratchSlot {
      public:
        ScratchSlot();
        ~ScratchSlot();
        ScratchSlot(const ScratchSlot&);
        ScratchSlot& operator=(const ScratchSlot&);
        engine::Scratch& Get();

      private:
        engine::Scratch* scratch_ = nullptr;
    };

    // ---- Facet-group replacement ----
    std::int32_t ModifyGroup = 0;
    bool ModifyModeOn = false;
    std::int32_t ModifySavedCount = 0;

    Real PointMergeDistance = 0.9L;
    bool FastRecompute = false;
    ScratchSlot Scratch;

    // CutFacetGroup without the recompute, for the import and the preform, which cut many groups.
    void PlaceFacetGroup(int first, const Plane& plane);
    void GroupTiers();
    int FindOrAddPoint(const Vector3& p);
    // The engine's own tests reach its point table through this.
    friend struct EngineProbe;

    bool BuildFacetPolygon(int f);
    // A facet-group replacement moves the facets after the group out of the table and back.
    void MoveTailOut();
    void PutTailBack();

    Real StoneReach() const;
    std::vector<int> TierCandidates(int q, const std::vector<std::pair<Real, int>>* byNormalZ) const;
    void GroupTiersWith(bool literal);
    void SortByShownIndex(Tier& tier, bool literal) const;
    bool StartRecompute(bool literal);
    void FinishRecompute(bool showProgress);
    void FindEdgesLiterally(bool showProgress);
    bool FindEdgesFast(bool showProgress);
    void FindEdge(int j, int k);
    void AddEdge(int j, int k, const Vector3& end1, const Vector3& end2, bool hashedPoints);
    int FindOrAddPointHashed(const Vector3& p);
    void BuildPolygonsFast();
    void AddToBox(const Vector3& p);
    void ResetDerivedData();
};
