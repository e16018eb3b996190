// QIRO 2.3c
// examples/jk_toggle.sch
// Portable netlist: complete on its own for a Verilog simulator (checked with Icarus Verilog).
// A gate output at x does not drive in Qiro; on nodes with several drivers such outputs
// drive z here (qiro_drive). Two drivers at opposite levels on one node give x here,
// where Qiro keeps the later one in its symbol table.
// Delays: each output carries the delay of its Qiro delay line in ns (one step is 1 ns) as a transport delay: pulses of any width pass.
// Qiro's glitch filter (option, on by default) removes one-step pulses (010, 101) before they
// leave a line of 5 steps or more (a delay of 4 steps or more); this netlist keeps them.
// Qiro computes nothing before its first step (step 3): outputs decided by supplies alone
// settle here from time 0.

`timescale 1ns / 1ps
module jk_toggle(clk1, set, por, q, nq);
 input clk1, set, por;
 output q, nq;
 supply1 vdd;
 qiro_jk #(.DQ(1), .DNQ(1)) jk2(q, nq, vdd, clk1, vdd, set, por);
endmodule

// JK register: set or reset x gives x, set 1 sets, reset 1 clears; clk rising from 0 to 1:
// j = k = 1 inverts the output nodes, j = 1 sets, k = 1 clears, j = k = 0 holds, x gives x.
module qiro_jk #(parameter real DQ = 0, parameter real DNQ = 0)
  (output q, output nq, input j, input clk, input k, input set, input reset);
  reg wq = 1'bx, wn = 1'bx, pq = 1'bx, pn = 1'bx, cp = 1'bx, cn = 1'bx, rq = 1'bx, rn = 1'bx;
  time t = 0;
  function v(input a);  // 0, 1 or x
    v = (a === 1'b0 || a === 1'b1) ? a : 1'bx;
  endfunction
  always @(j or clk or k or set or reset) begin
    if (DQ == 0 || $time != t) begin pq = wq; pn = wn; cp = cn; t = $time; end
    cn = clk;
    wq = pq;
    wn = pn;
    if (v(set) === 1'bx || v(reset) === 1'bx) begin wq = 1'bx; wn = 1'bx; end
    else if (set === 1'b1) begin wq = 1'b1; wn = 1'b0; end
    else if (reset === 1'b1) begin wq = 1'b0; wn = 1'b1; end
    else if (cp === 1'b0 && clk === 1'b1) begin
      if (v(j) === 1'bx || v(k) === 1'bx) begin wq = 1'bx; wn = 1'bx; end
      else if (j === 1'b1 && k === 1'b1) begin wq = ~v(q); wn = ~v(nq); end
      else if (j === 1'b1) begin wq = 1'b1; wn = 1'b0; end
      else if (k === 1'b1) begin wq = 1'b0; wn = 1'b1; end
    end
    rq <= #DQ wq;
    rn <= #DNQ wn;
  end
  assign q = rq;
  assign nq = rn;
endmodule

// Simulation parameters
// clk1 CLK 50.000 50.000
// set CLK 10 10
// por PWL 10 1 

// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step
// is 1 ns. Run: iverilog FILE && vvp a.out
module jk_toggle_tb;
  parameter STEPS = 1000;
  localparam real TU = 1;
  reg clk1, set, por;
  wire q, nq;
  integer step;
  jk_toggle dut(.clk1(clk1), .set(set), .por(por), .q(q), .nq(nq));
  initial begin
    $dumpfile("jk_toggle.vcd");
    $dumpvars(1, dut);
    #(3 * TU);
    clk1 = 1'b0;
    set = 1'b0;
    for (step = 3; step <= STEPS; step = step + 1) begin
      if (step % 100 == 0) clk1 = 1'b0; else if (step % 100 == 50) clk1 = 1'b1;  // clock clock1
      if (step % 20 == 0) set = 1'b0; else if (step % 20 == 10) set = 1'b1;  // button button1
      case (step) 3: por = 1'b1; 11: por = 1'b0; endcase  // pwl pwl1
      #(TU);
    end
    $finish;
  end
endmodule
Verilog description written in "-"
