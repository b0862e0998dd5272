// Designs for tests and benchmarks: hand-made classics and reproducible random stones.
#pragma once

#include "gem/gem.h"

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

std::unique_ptr<TGem> NewGem(char type = 'c', int parts = 8, int systemIndex = 96, bool mirror = false,
                             int offset = 0);

// Cuts one facet group as the user would: plane from angle, index and distance from the axis.
// Returns false when no plane could be made.
bool CutByAngle(TGem& gem, Real angle, Real index, Real dist);

// Cuts one facet group through a point (angle and index given).
bool CutThroughPoint(TGem& gem, Real angle, Real index, const Vector3& point);

// A plane the model made, copied into plane for a test that goes on with it; false when none was made.
bool Made(const std::optional<Plane>& made, Plane& plane);

// Moves the table (crown) or bottom plane (pavilion) to the height z.
void CutHorizontal(TGem& gem, Real z);

// A standard 8-fold round brilliant on 96 teeth, mirrored: girdle, mains, stars, upper or lower halves.
std::unique_ptr<TGem> RoundBrilliantCrown();
std::unique_ptr<TGem> RoundBrilliantPavilion();

// A random crown or pavilion: random gear, symmetry, mirror, girdle and 2-6 further groups.
std::unique_ptr<TGem> RandomDesign(std::mt19937& rng);

// A design with about `facets` cut facets (for benchmarks): 16-fold mirrored tiers over 96 teeth.
std::unique_ptr<TGem> DesignWithFacets(int facets);

// The design file's text without its first record, which carries the date and time of writing: two
// writes of one design a second apart give the same text.
std::string DesignTextWithoutStamp(const TGem& gem);

// A sphere-like pavilion whose every facet reaches the surface: `tiers` tiers of 96 facets on 96
// teeth, every other tier half a tooth round, all touching a sphere of radius 50, with the bottom
// plane just below the last tier. Not recomputed.
std::unique_ptr<TGem> SphereDesign(int tiers);

// A random crown or pavilion of at most about 90 facets: random gear, symmetry and mirror, a girdle
// or not, one to four further groups, some cut through corners of the stone as it stands, a table or
// not; every other one taken through a design file (planes rounded as the file writes them).
std::unique_ptr<TGem> SmallRandomDesign(std::mt19937& rng);

// Writes the design to a file and reads it back, as every undo step does.
void RoundTripThroughFile(TGem& gem);
