/* Augments the linker's own script (INSERT) for the shipped executable. The runtime and the
   application are compiled without exceptions and the program links no unwinder, so the unwind
   tables that the C and C++ library objects bring are never read: they are left out. Those of
   the C run-time's start-up files (crtbegin.o, crtend.o) stay: its start-up registers them with
   an unwinder DLL that may already be in the process, and they must then be a valid list. */
SECTIONS
{
  /DISCARD/ : { *(EXCLUDE_FILE(*crtbegin.o *crtend.o) .eh_frame) }
}
INSERT BEFORE .eh_frame;
