#pragma once
// The gun panel of the "Ship File Data" page (frame "Experimental SHP file information"): shows a turreted
// gun's recoil and barrel lengths, its azimuth and declination limits and the objects its azimuth and
// declination turn, and writes the boxes back into the gun record, after which the chunk edit panel's
// Apply rebuilds the gun's chunk so its firing arc follows. The page is ShipInfoPageState::shipFileData.
#include <cstdint>

namespace tarv {

class EditingContext;

// The fixed note of Label16.
inline const char* const kGunPanelNoteText =
    "Note: azimuth and declination will appear to be left/right rotations and up/down rotations ONLY if the "
    "objects below are NOT rotated (check their respective matrices).";

// Fills the panel from shpGuns(gun): the type list's entry gunType - 1 (none for a type outside 1 to 4),
// the lengths and limits as float text, the row captions "Azimuth:" and "Declination:", the joints as
// stored. Traps its errors: a gun without a record is reported and the panel keeps what it showed.
void displayShpGunInfo(EditingContext& ctx, int16_t gun);

// Apply: the gun is the number that starts at the fourth character of the selected chunk node's text,
// rounded down. Empty length boxes become "0"; a length box still showing the text the panel filled it with
// keeps the stored length bit for bit, an edited one stores the absolute value of its numeric beginning;
// the limits keep their signs, the joints are stored as typed, the type list is never stored. Every value
// is read and checked first: a gun without a record is an error report, a number beyond the 32-bit float
// range the message "Invalid numeric input. Please check and re-enter.", and in both cases nothing is
// stored. Then the chunk edit panel's Apply runs on the selected chunk. Acts only on a chunk node. Traps
// its errors.
void cmdApplyShpInfo_Click(EditingContext& ctx);

}  // namespace tarv
