# Calls into DLL commands. i686, cdecl symbols with the leading underscore of 32-bit Windows.
        .intel_syntax noprefix
        .text

# The service row. On entry EAX holds the declaration index and the stack holds the return
# address, then the function's own arguments. Binding keeps that stack as it is; the jump lets
# the function return its result straight to the caller.
        .globl  _rt_CallDllCommand
_rt_CallDllCommand:
        push    eax
        call    _rt_BindDllCommand
        add     esp, 4
        jmp     eax

# uint32_t rt_CallDllChecked(uint32_t index, const uint32_t* words, uint32_t count)
# The calling sequence of application code: remember the stack depth, push the words last
# first, call the row, and compare the depth afterwards. A function that removed more or fewer
# argument bytes than were pushed is runtime error 6. EDI survives the call (callee-saved in the
# system's convention), so it carries the remembered depth.
        .globl  _rt_CallDllChecked
_rt_CallDllChecked:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        push    edi
        mov     esi, [ebp + 12]
        mov     ecx, [ebp + 16]
        mov     edi, esp
1:      test    ecx, ecx
        jz      2f
        dec     ecx
        push    dword ptr [esi + ecx * 4]
        jmp     1b
2:      mov     eax, [ebp + 8]
        call    dword ptr [_RuntimeServices + 4]
        cmp     esp, edi
        jne     3f
        pop     edi
        pop     esi
        pop     ebx
        pop     ebp
        ret
3:      mov     esp, edi
        push    6
        call    dword ptr [_RuntimeServices]
