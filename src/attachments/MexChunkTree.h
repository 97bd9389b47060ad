#pragma once
// The chunk tree's data: the skeleton of root and groups, the chunk counts in the group captions, and the
// IDs and point names of new chunks. Chunk node keys are the type letter and the chunk's index ("g3").
#include <cstdint>
#include <string>

namespace tarv {

class EditingContext;

// Clears the tree and adds the root "Mex Entries" (expanded) and the six groups, all unticked.
void addMexTreeDefaults(EditingContext& ctx);

// The key of chunk index's node, and the index read back from a chunk key (the number from its second
// character on; -1 for a key that is not a chunk key).
std::string mexChunkKey(char letter, int32_t index);
int32_t mexChunkIndexOfKey(const std::string& key);
// The root and the group keys are the only ones holding "Root".
bool isMexGroupOrRootKey(const std::string& key);

// The count in a group caption: setCounter writes "Guns (" & n & ")" and the like into the type's group
// node; getCounter reads it back (0 without one, or for a letter without a group).
void setCounter(EditingContext& ctx, int16_t n, const std::string& letter);
int16_t getCounter(EditingContext& ctx, const std::string& letter);

// The chunk ID and the point name for a new chunk of a type; empty for a type that has none.
std::string getNextChunkId(EditingContext& ctx, const std::string& letter);
std::string getNextChunkText(EditingContext& ctx, const std::string& letter);

// A name unique in the whole tree made from the text of the node at nodeIndex (1-based creation order):
// the number of its last digit run goes one above the largest among the texts of the same base, with its
// leading zeros kept as far as they fit.
std::string checkMexName(EditingContext& ctx, int16_t nodeIndex);

}  // namespace tarv
