// The catalogue of registry tweaks (to come).
