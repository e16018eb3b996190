// QIRO 2.3c
// examples/sine_display.sch
// Portable netlist: complete on its own for a Verilog simulator (checked with Icarus Verilog).
// A gate output at x does not drive in Qiro; on nodes with several drivers such outputs
// drive z here (qiro_drive). Two drivers at opposite levels on one node give x here,
// where Qiro keeps the later one in its symbol table.
// Delays: each output carries the delay of its Qiro delay line in ns (one step is 1 ns) as a transport delay: pulses of any width pass.
// Qiro's glitch filter (option, on by default) removes one-step pulses (010, 101) before they
// leave a line of 5 steps or more (a delay of 4 steps or more); this netlist keeps them.
// Qiro computes nothing before its first step (step 3): outputs decided by supplies alone
// settle here from time 0.
// Not written: the sine source sinus1; the nodes it drives are undriven here.

`timescale 1ns / 1ps
module sine_display(display11, display12, display13, display14, display15, display16, display17, display18);
 output display11, display12, display13, display14, display15, display16, display17, display18;
endmodule

// Simulation parameters

// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step
// is 1 ns. Run: iverilog FILE && vvp a.out
module sine_display_tb;
  parameter STEPS = 100;
  localparam real TU = 1;
  wire display11, display12, display13, display14, display15, display16, display17, display18;
  integer step;
  sine_display dut(.display11(display11), .display12(display12), .display13(display13), .display14(display14), .display15(display15), .display16(display16), .display17(display17), .display18(display18));
  initial begin
    $dumpfile("sine_display.vcd");
    $dumpvars(1, dut);
    #(3 * TU);
    for (step = 3; step <= STEPS; step = step + 1) begin
      #(TU);
    end
    $finish;
  end
endmodule
Verilog description written in "-"
