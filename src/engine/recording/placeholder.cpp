// The recording backend lands here.
